// Opens every window of the installer, in each state it has, on the real windows, and checks
// each with the window audit: the welcome page, the destination page and its folder chooser,
// the copying page (with the longest paths the copy shows), the finish page after a real
// installation, and with "-UNINSTALL" the removal's question. It runs as SETUP.EXE does, from the
// distribution folder it is copied into, and prints the audit's lines, then
// "audit: <n> failures".
//   setup_audit.exe PICTURE-FOLDER            the installation's pages; installs for real
//   setup_audit.exe -UNINSTALL PICTURE-FOLDER the removal's page; removes nothing
// (the installer takes its first argument as its mode, as SETUP.EXE does)
#include "WindowAudit.h"

#include "os/win32/Win32System.h"
#include "setup/FolderChooser.h"
#include "setup/SetupProgram.h"
#include "setup/Wizard.h"
#include "ui/Application.h"
#include "ui/win32/Win32Platform.h"
// After the library's headers: it brings <windows.h>, whose macros rename their names.
#include "probe_support.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const bool removal = argc == 3 && std::strcmp(argv[1], "-UNINSTALL") == 0;
    if (argc != 2 && !removal) {
        std::fprintf(stderr, "usage: setup_audit [-UNINSTALL] PICTURE-FOLDER\n");
        return 2;
    }
    std::unique_ptr<os::System> system = os::win32::CreateWin32System();
    std::unique_ptr<ui::Platform> platform = ui::CreateWin32Platform();
    ui::Application app(*system, *platform);
    app.Title = "Setup";
    setup::SetupProgram program(*system, app);
    audit::WindowAudit audit(argv[argc - 1]);
    int result = 0;
    try {
        program.Form1 = app.CreateForm<setup::TForm1>(program);
        program.Form2 = app.CreateForm<setup::TForm2>(program);
        setup::TForm1& wizard = *program.Form1;

        audit::Script script(app, 500);
        auto check = [&](const std::string& state) {
            return [&, state] {
                probe::Settle(app, 600);
                audit.Check(app, "setup-" + state);
            };
        };
        if (removal) {
            script.Add([&] {
                if (wizard.PageControl1.ActivePage() != &wizard.TabSheet5)
                    audit.Fail("setup-remove", "the removal's page did not open");
            });
            script.Add(check("remove"));
        } else {
            script.Add(check("welcome"));
            script.Add([&] { wizard.Button2.UserClick(); });
            script.Add(check("destination"));
            script.Add([&] {
                script.Release();
                wizard.Button16.UserClick();
            });
            script.Add(check("chooser"));
            script.Add([&] { program.Form2->SetModalResult(ui::mrCancel); });
            // The copying page as the copy of the driver shows it: its longest two paths.
            script.Add([&] {
                wizard.PageControl1.SetActivePage(&wizard.TabSheet2);
                wizard.LabelSor.SetCaption(program.SetupDir + "ZarvoORLO64.SYS");
                wizard.LabelTrg.SetCaption(program.WinDir + "SysWow64\\drivers\\ZarvoORLO.SYS");
            });
            script.Add(check("copying"));
            script.Add([&] {
                wizard.PageControl1.SetActivePage(&wizard.TabSheet6);
                wizard.Button14.UserClick();
            });
            script.Add(check("finish"));
        }
        script.Add([&app] { app.Terminate(); });
        app.Run();
    } catch (const std::exception& e) {
        std::printf("FAIL setup: %s\n", e.what());
        result = 1;
    }
    app.DestroyForms();
    std::printf("audit: %d failures\n", audit.Failures() + result);
    return audit.Failures() + result == 0 ? 0 : 1;
}

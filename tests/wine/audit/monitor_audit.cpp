// Opens every window of the monitor, in each state it has, on the real windows and the stand-in
// driver, and checks each with the window audit: the main window on each of its pages, the
// warning window for an alarm of each kind, the attention dialog, both password windows, the
// duty-cycle window before, during and after its sweep. It runs as ORLO.EXE does (the same six
// windows, created in the same order, from the program folder it is copied into) and prints the
// audit's lines, then "audit: <n> failures".
//   monitor_audit.exe PICTURE-FOLDER NAME [pages]
// NAME prefixes the states; with "pages" only the main window's pages are opened.
#include "WindowAudit.h"

#include "monitor/AttentionDialog.h"
#include "monitor/DutyCycleForm.h"
#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "monitor/PasswordForms.h"
#include "monitor/WarningForm.h"
#include "os/win32/Win32System.h"
#include "ui/Application.h"
#include "ui/win32/Win32Platform.h"
// After the library's headers: it brings <windows.h>, whose macros rename their names.
#include "probe_support.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: monitor_audit PICTURE-FOLDER NAME [pages]\n");
        return 2;
    }
    const std::string name = argv[2];
    const bool pagesOnly = argc == 4 && std::strcmp(argv[3], "pages") == 0;

    std::unique_ptr<os::System> system = os::win32::CreateWin32System();
    std::unique_ptr<ui::Platform> platform = ui::CreateWin32Platform();
    ui::Application app(*system, *platform);
    app.Title = "ORLO";
    monitor::MonitorProgram program(*system, app);
    audit::WindowAudit audit(argv[1]);
    int result = 0;
    try {
        program.Form1 = app.CreateForm<monitor::TForm1>(program);
        program.FormWarning = app.CreateForm<monitor::TFormWarning>(program);
        program.FormChangePassword = app.CreateForm<monitor::TFormChangePassword>(program);
        program.FormPassword = app.CreateForm<monitor::TFormPassword>(program);
        program.OKBottomDlgAttention = app.CreateForm<monitor::TOKBottomDlgAttention>(program);
        program.frmDutyCycleForm = app.CreateForm<monitor::TfrmDutyCycleForm>(program);
        monitor::TForm1& main = *program.Form1;

        audit::Script script(app, 500);
        auto check = [&](const std::string& state) {
            return [&, state] {
                probe::Settle(app, 600);
                audit.Check(app, name + "-" + state);
            };
        };
        // Out of the tray, as the tray icon's click brings it.
        script.Add([&] { main.TrayIcon1.UserLeftClick(); });
        script.Add(check("fan"));
        struct Page {
            ui::TTabSheet* sheet;
            const char* state;
        };
        for (Page page : {Page{&main.TabSheetConfigure, "configure"}, Page{&main.tabSetup, "setup"},
                          Page{&main.tabFintekSmartFan, "smartfan"}}) {
            script.Add([&main, page] {
                if (page.sheet->TabVisible()) main.PageControl1.UserSelect(page.sheet);
            });
            script.Add([&, page] {
                if (main.PageControl1.ActivePage() != page.sheet) {
                    audit.Fail(name + "-" + page.state, "the page did not open");
                    return;
                }
                probe::Settle(app, 600);
                audit.Check(app, name + "-" + page.state);
            });
        }
        if (!pagesOnly) {
            // Modal windows: a step opens one and lets the next steps run inside its loop.
            auto modal = [&script](ui::Form* form) {
                return [&script, form] {
                    script.Release();
                    form->ShowModal();
                };
            };
            auto checkOne = [&](ui::Form* form, const std::string& state) {
                return [&, form, state] {
                    probe::Settle(app, 600);
                    audit.Check(*form, name + "-" + state);
                };
            };
            auto close = [](ui::Form* form) {
                return [form] { form->SetModalResult(ui::mrCancel); };
            };
            for (const char* channel : {"fan0", "temp0", "vin0"}) {
                // No polling tick closes the warning of a channel in range meanwhile.
                script.Add([&main, &script, channel] {
                    main.ComboBoxWarningDefault.SetText("Ask Me");
                    main.Timer1.SetEnabled(false);
                    script.Release();
                    main.RaiseLimitAlarm(channel);
                });
                script.Add(checkOne(program.FormWarning, std::string("warning-") + channel));
                script.Add(close(program.FormWarning));
            }
            for (ui::Form* form : {static_cast<ui::Form*>(program.OKBottomDlgAttention),
                                   static_cast<ui::Form*>(program.FormPassword),
                                   static_cast<ui::Form*>(program.FormChangePassword)}) {
                script.Add(modal(form));
                script.Add(checkOne(form, form->Name()));
                script.Add(close(form));
            }
            // The duty-cycle sweep runs inside a tick of the duty window's timer; the steps run
            // in the message pass it makes at each duty step.
            script.Add([&main] { main.PageControl1.UserSelect(&main.tabFintekSmartFan); });
            script.Add([&main] {
                if (main.btnDetectDutyCycle.Showing()) main.btnDetectDutyCycle.UserClick();
            });
            script.WaitUntil([&program] { return !program.SweepIdle; });
            script.Add(checkOne(program.frmDutyCycleForm, "duty-sweep"));
            script.WaitUntil([&program] { return program.SweepIdle; });
            script.Add(checkOne(program.frmDutyCycleForm, "duty-done"));
        }
        script.Add([&app] { app.Terminate(); });
        app.Run();
    } catch (const std::exception& e) {
        std::printf("FAIL %s: %s\n", name.c_str(), e.what());
        result = 1;
    }
    app.DestroyForms();
    std::printf("audit: %d failures\n", audit.Failures() + result);
    return audit.Failures() + result == 0 ? 0 : 1;
}

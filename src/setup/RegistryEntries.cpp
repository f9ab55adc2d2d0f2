// The driver-service key, the logon-start value and the uninstall key, under
// HKEY_LOCAL_MACHINE. A value that cannot be written raises the registry object's error.
#include "setup/RegistryEntries.h"

#include "setup/Wizard.h"
#include "ui/Application.h"
#include "ui/Registry.h"

namespace setup {

namespace {

const char* const kServiceKey = "\\System\\CurrentControlSet\\Services\\ZarvoORLO";
const char* const kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kUninstallKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZarvoORLO";

void Advance(ui::TProgressBar& bar) {
    bar.SetPosition(bar.Position() + 1);
}

} // namespace

void RegisterDriverService(SetupProgram& program, std::uint8_t mode) {
    ui::TRegistry registry(program.System);
    registry.RootKey = os::RegRoot::LocalMachine;
    if (mode != 1) {
        registry.DeleteKey(kServiceKey);
        return;
    }
    ui::TProgressBar& bar = program.Form1->ProgressBar2;
    bar.Min = 0;
    bar.Max = 6;
    bar.SetPosition(0);
    if (!registry.OpenKey(kServiceKey, true)) {
        program.App.ShowMessage("Register ORLO Driver fail!!");
        return;
    }
    Advance(bar);
    // 64-bit Windows finds the driver only by this path below the Windows folder.
    if (program.IsWow64) registry.WriteString("ImagePath", "SysWow64\\Drivers\\ZarvoORLO.sys");
    registry.WriteInteger("ErrorControl", 1);
    Advance(bar);
    registry.WriteInteger("Start", 2);
    Advance(bar);
    registry.WriteInteger("Type", 1);
    Advance(bar);
    registry.WriteString("DisplayName", "ZarvoORLO");
    Advance(bar);
    registry.WriteString("Group", "");
    Advance(bar);
    registry.CloseKey();
}

void RegisterAutoStart(SetupProgram& program, std::uint8_t mode) {
    ui::TRegistry registry(program.System);
    registry.RootKey = os::RegRoot::LocalMachine;
    if (!registry.OpenKey(kRunKey, true)) return;
    if (mode == 1)
        registry.WriteString("ZarvoORLO",
                             "\"" + program.DestDir + "\\Zarvo\\ORLO\\ORLO.EXE\" \"5000\"");
    else
        registry.DeleteValue("ZarvoORLO");
    registry.CloseKey();
}

void RegisterUninstallEntry(SetupProgram& program, std::uint8_t mode) {
    ui::TRegistry registry(program.System);
    registry.RootKey = os::RegRoot::LocalMachine;
    if (mode != 1) {
        registry.DeleteKey(kUninstallKey);
        return;
    }
    if (!registry.OpenKey(kUninstallKey, true)) return;
    registry.WriteString("DisplayName", "Zarvo Velmara (ORLO)");
    registry.WriteString("UninstallString",
                         "\"" + program.DestDir + "\\Zarvo\\ORLO\\SETUP.EXE\" \"-UNINSTALL\"");
    registry.CloseKey();
}

} // namespace setup

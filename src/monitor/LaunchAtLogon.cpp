// The logon-start value "ZarvoORLO" under the Run key: present means the program starts at
// every logon, with a start delay of 5000 ms as its first argument.
#include "monitor/MainForm.h"
#include "ui/Registry.h"

namespace monitor {

namespace {

const char* const kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValue = "ZarvoORLO";

} // namespace

// Any non-empty data counts, whichever path it names (the installer writes its own).
bool TForm1::IsLaunchOnStartup() {
    ui::TRegistry registry(program_.System);
    registry.RootKey = os::RegRoot::LocalMachine;
    if (!registry.OpenKey(kRunKey, true)) return false;
    bool present = !registry.ReadString(kRunValue).empty();
    registry.CloseKey();
    return present;
}

// Writes the running program's own path, so a moved program folder is repaired by the next
// save. A key that cannot be opened changes nothing; a refused write throws.
void TForm1::SetLaunchOnStartup(bool on) {
    ui::TRegistry registry(program_.System);
    registry.RootKey = os::RegRoot::LocalMachine;
    if (!registry.OpenKey(kRunKey, true)) return;
    if (on)
        registry.WriteString(kRunValue, "\"" + program_.System.GetModuleFileName() + "\" \"5000\"");
    else
        registry.DeleteValue(kRunValue);
    registry.CloseKey();
}

} // namespace monitor

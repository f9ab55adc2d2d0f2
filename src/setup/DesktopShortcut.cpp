// The shortcut to the monitor on the desktop of all users.
#include "setup/RegistryEntries.h"

namespace setup {

void CreateDesktopShortcut(os::System& system, const std::string& target,
                           const std::string& linkName, const std::string& description) {
    std::string desktop;
    if (!system.GetCommonDesktopFolder(desktop)) return;
    os::ShellLink link;
    link.target = target;
    link.description = description;
    link.showCommand = os::kSwShow;
    system.CreateShellLink(link, desktop + "\\" + linkName);
}

void DeleteDesktopShortcut(os::System& system, const std::string& linkName) {
    std::string desktop;
    if (system.GetCommonDesktopFolder(desktop)) system.DeleteFile(desktop + "\\" + linkName);
}

} // namespace setup

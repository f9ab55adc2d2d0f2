// The three registry entries the installer leaves (driver service, logon start, uninstall
// entry) and the desktop shortcut. Each registry routine writes its entry with the mode 1 and
// deletes it with any other mode.
#pragma once

#include "setup/SetupProgram.h"

#include <cstdint>
#include <string>

namespace setup {

// Written: the service key for a kernel driver that starts at boot ("Register ORLO Driver
// fail!!" when the key cannot be made), with the copying page's driver bar showing the values.
void RegisterDriverService(SetupProgram& program, std::uint8_t mode);
// The Run value "ZarvoORLO" that starts the monitor five seconds after every logon.
void RegisterAutoStart(SetupProgram& program, std::uint8_t mode);
// The entry of the installed programs' list, whose command starts the removal.
void RegisterUninstallEntry(SetupProgram& program, std::uint8_t mode);

// A shell link in the all-users desktop folder; every failure is silent.
void CreateDesktopShortcut(os::System& system, const std::string& target,
                           const std::string& linkName, const std::string& description);
void DeleteDesktopShortcut(os::System& system, const std::string& linkName);

} // namespace setup

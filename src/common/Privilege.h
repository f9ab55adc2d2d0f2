// The privilege switch and the privileged shutdown, shared by the monitor and the installer.
#pragma once

#include "os/System.h"

#include <cstdint>
#include <string>

namespace common {

// Switches a named privilege of the process token. True exactly when the adjustment reported
// success; false without any adjustment when the token cannot be opened or the name is unknown.
bool SetPrivilege(os::System& system, const std::string& name, bool enable);

// Enables the shutdown privilege, asks Windows to end with `flags`, and disables the privilege
// again. Returns whether the request succeeded; false with no request when the privilege could
// not be switched on.
bool ShutdownWindows(os::System& system, std::uint32_t flags);

} // namespace common

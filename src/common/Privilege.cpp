#include "common/Privilege.h"

namespace common {

bool SetPrivilege(os::System& system, const std::string& name, bool enable) {
    os::Handle token = os::kNoHandle;
    if (!system.OpenProcessToken(token)) return false;
    std::uint64_t luid = 0;
    bool ok = system.LookupPrivilegeValue(name, luid) &&
              system.AdjustTokenPrivilege(token, luid, enable);
    system.CloseHandle(token);
    return ok;
}

bool ShutdownWindows(os::System& system, std::uint32_t flags) {
    if (!SetPrivilege(system, "SeShutdownPrivilege", true)) return false;
    bool ok = system.ExitWindowsEx(flags, 0);
    SetPrivilege(system, "SeShutdownPrivilege", false);
    return ok;
}

} // namespace common

// The installer's own OS name. Unlike the monitor's, it counts every 9x version after 95 as "98".
#include "setup/Wizard.h"
#include "ui/Application.h"

namespace setup {

std::string OSNameOf(const os::VersionInfo& v) {
    switch (v.platformId) {
    case os::kPlatformWin32s:
        return "32S";
    case os::kPlatformWin9x:
        return v.majorVersion > 4 || (v.majorVersion == 4 && v.minorVersion != 0) ? "98" : "95";
    case os::kPlatformNT:
        if (v.majorVersion <= 3) return "NT3";
        if (v.majorVersion == 4) return "NT4";
        if (v.majorVersion == 5) {
            if (v.minorVersion == 0) return "2000";
            if (v.minorVersion == 1) return "XP";
            return "SERVER2003";
        }
        return "";
    default:
        return "";
    }
}

std::string GetOSName(os::System& system, ui::Application& app) {
    os::VersionInfo version;
    if (!system.GetVersionEx(version)) {
        app.ShowMessage("Error in GetVersionEx");
        return "";
    }
    return OSNameOf(version);
}

} // namespace setup

#include "host/FolderPath.h"

#include "os/sim/SimMachine.h"

#include <cstdio>

namespace host {

namespace {

bool IsDeviceName(const std::string& name) {
    std::string base = os::sim::LowerCase(name.substr(0, name.find('.')));
    if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// "" for a valid folder name, else what is wrong with it.
std::string NameFault(const std::string& name) {
    if (name.empty()) return "an empty folder name: two backslashes together, or one at the end";
    if (name.size() > os::sim::kMaxNameLength)
        return "a folder name of " + std::to_string(name.size()) + " bytes, longer than " +
               std::to_string(os::sim::kMaxNameLength);
    const std::string quoted = "the folder name \"" + name + "\"";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < ' ') {
            char text[8];
            std::snprintf(text, sizeof text, "0x%02X", byte);
            return quoted + " holds the control character " + text;
        }
        if (std::string("\\/:*?\"<>|").find(c) != std::string::npos)
            return quoted + " holds '" + std::string(1, c) + "', which no name may hold";
    }
    if (name.back() == '.') return quoted + " ends in a dot";
    if (name.back() == ' ') return quoted + " ends in a blank";
    if (IsDeviceName(name)) return quoted + " is a device's name";
    return "";
}

} // namespace

std::string FolderPathFault(const std::string& path, bool driveRootAllowed) {
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    if (path.size() < 3 || letter < 'a' || letter > 'z' || path[1] != ':' || path[2] != '\\')
        return "no drive letter, colon and backslash at its start";
    if (path.size() > kMaxPathLength)
        return std::to_string(path.size()) + " characters, more than the " +
               std::to_string(kMaxPathLength) + " of a path";
    if (path.size() == 3) return driveRootAllowed ? "" : "no folder name after the drive";
    for (std::size_t start = 3;;) {
        const std::size_t end = path.find('\\', start);
        const std::string fault = NameFault(path.substr(start, end - start));
        if (!fault.empty() || end == std::string::npos) return fault;
        start = end + 1;
    }
}

} // namespace host

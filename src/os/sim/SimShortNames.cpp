// Short (8.3) names, as a volume that keeps them gives them: unique within their folder, "~1"
// for the first long name of a kind, "~2" for the next, in the order the names were made.
#include "os/sim/SimMachine.h"

#include "os/sim/HostFiles.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace fs = std::filesystem;

namespace os::sim {

namespace {

// Whether a file or folder name is a valid 8.3 name as it stands.
bool IsShortName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return true;
    auto dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos)
        return false;
    for (char c : name)
        if (c == ' ' || std::string("+,;=[]").find(c) != std::string::npos) return false;
    return true;
}

// The 8.3 name of number `serial` for a long name: the first valid characters of the name
// before its last dot (six, fewer as the number grows, so that eight remain), "~" and the
// number, and the first three of its extension, all in upper case.
std::string ShortNameOf(const std::string& name, unsigned serial) {
    auto dot = name.rfind('.');
    std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    auto keep = [](const std::string& text, size_t count) {
        std::string kept;
        for (char c : text) {
            if (kept.size() == count) break;
            if (c == ' ' || c == '.' || std::string("+,;=[]").find(c) != std::string::npos)
                continue;
            kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return kept;
    };
    const std::string tail = "~" + std::to_string(serial);
    std::string result =
        keep(base, std::min<std::size_t>(6, 8 - std::min<std::size_t>(8, tail.size()))) + tail;
    std::string shortExt = keep(ext, 3);
    if (!shortExt.empty()) result += "." + shortExt;
    return result;
}

} // namespace

const std::map<std::string, std::string>&
SimMachine::ShortNamesIn(const fs::path& folder, const std::string& newest) const {
    std::map<std::string, std::string>& names = shortNames_[folder.string()];
    std::set<std::string> present;
    std::vector<std::string> unnamed;
    for (const fs::path& entry : HostEntries(folder)) {
        const std::string name = entry.filename().string();
        present.insert(LowerCase(name));
        if (!names.count(LowerCase(name))) unnamed.push_back(name);
    }
    // A name that has gone frees its short name.
    for (auto it = names.begin(); it != names.end();)
        it = present.count(it->first) ? std::next(it) : names.erase(it);
    // A valid 8.3 name is its own short name, which no other may take.
    std::vector<std::string> numbered;
    for (const std::string& name : unnamed) {
        if (IsShortName(name))
            names[LowerCase(name)] = name;
        else
            numbered.push_back(name);
    }
    std::set<std::string> taken;
    for (const auto& [name, shortName] : names)
        taken.insert(LowerCase(shortName));
    // Names made beside the machine get theirs in the order of their names, before the newest.
    std::sort(numbered.begin(), numbered.end(), [&](const std::string& a, const std::string& b) {
        const bool aNewest = LowerCase(a) == newest;
        return aNewest != (LowerCase(b) == newest) ? !aNewest : a < b;
    });
    for (const std::string& name : numbered) {
        std::string shortName;
        for (unsigned serial = 1; serial < 1000000; ++serial) {
            shortName = ShortNameOf(name, serial);
            if (!taken.count(LowerCase(shortName))) break;
        }
        names[LowerCase(name)] = shortName;
        taken.insert(LowerCase(shortName));
    }
    return names;
}

void SimMachine::NameMade(const fs::path& host) const {
    if (config_.shortNames) ShortNamesIn(host.parent_path(), LowerCase(host.filename().string()));
}

fs::path SimMachine::EntryOfShortName(const fs::path& folder, const std::string& name) const {
    for (const auto& [longName, shortName] : ShortNamesIn(folder))
        if (LowerCase(shortName) == LowerCase(name)) {
            for (const fs::path& entry : HostEntries(folder))
                if (LowerCase(entry.filename().string()) == longName) return entry;
        }
    return {};
}

std::uint32_t SimMachine::ShortPathName(const std::string& path, std::string& shortPath,
                                        std::uint32_t bufferSize) const {
    if (config_.shortPathFails || !(FileExists(path) || DirectoryExists(path))) return 0;
    // Each name as the path gives it where it is a valid 8.3 name, else the short name of the
    // file or folder it names.
    std::string result = path.substr(0, 2);
    std::string prefix = result;
    for (std::size_t start = 2; start < path.size();) {
        std::size_t end = path.find('\\', start + 1);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start + 1, end - start - 1);
        prefix += "\\" + part;
        result += "\\";
        if (!config_.shortNames || IsShortName(part)) {
            result += part;
        } else {
            const fs::path host = HostPath(prefix);
            const auto& names = ShortNamesIn(host.parent_path());
            const auto found = names.find(LowerCase(host.filename().string()));
            result += found == names.end() ? part : found->second;
        }
        start = end;
    }
    auto length = static_cast<std::uint32_t>(result.size());
    if (length + 1 > bufferSize) return length + 1;
    shortPath = result;
    return length;
}

} // namespace os::sim

// Questions to the host file system below the sandbox that never throw: where the host cannot
// answer (a name too long for it, a missing permission), the answer is "no such file".
#pragma once

#include <filesystem>
#include <system_error>
#include <vector>

namespace os::sim {

inline bool HostExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

inline bool HostIsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

inline bool HostIsFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// The entries of a host folder (none when it cannot be read).
inline std::vector<std::filesystem::path> HostEntries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
        entries.push_back(it->path());
    return entries;
}

} // namespace os::sim

// Windows folder paths as the host commands take them: a machine description's Windows folder
// and setup-sim's destination.
#pragma once

#include <cstddef>
#include <string>

namespace host {

// The longest path the programs' file calls take: MAX_PATH less its terminating zero.
constexpr std::size_t kMaxPathLength = 259;

// "" when `path` is a folder path with its drive, else what keeps it from being one. Such a path
// is a drive letter, a colon and a backslash, then folder names separated by single backslashes
// (none at all, "D:\", only with `driveRootAllowed`), at most kMaxPathLength characters in all.
// A folder name has 1 to 255 bytes, none of them below a blank or one of \ / : * ? " < > |; it
// does not end in a blank or a dot (which Windows drops: "." and ".." are no names either), and
// is no device's name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with any extension).
std::string FolderPathFault(const std::string& path, bool driveRootAllowed);

} // namespace host

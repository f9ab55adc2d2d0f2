// Libraries on the simulated machine. A library is a file like any other, so that it can be
// installed, copied and deleted; its bytes name the exports it has. A file with other bytes is
// no library and fails to load.
#pragma once

#include <string>
#include <vector>

namespace os::sim {

// The bytes of a library file that has these exports.
std::string LibraryImage(const std::vector<std::string>& exports);

// The exports that a library file's bytes name; false when the bytes are no library.
bool ParseLibraryImage(const std::string& bytes, std::vector<std::string>& exports);

} // namespace os::sim

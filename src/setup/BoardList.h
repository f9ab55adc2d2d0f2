// What the installer reads of ORLO.INI and of the board INIs: the board list and the names of
// the files a board INI brings along.
#pragma once

#include "os/System.h"

#include <string>
#include <vector>

namespace setup {

// The board INI name of every line of section ORLO of an ORLO.INI, in file order: the text after
// the line's first "=", without blanks and control characters at either end. A missing file or
// section gives no line.
std::vector<std::string> ReadBoardList(os::System& system, const std::string& orloIni);

// The keys of a board INI that name a file lying beside it: [LOGO] FILENAME, [NT4 SHUTDOWN]
// BATCH FILE and [NT4 SHUTDOWN] EXEC FILE.
struct BoardFileKey {
    const char* section;
    const char* key;
};
extern const BoardFileKey kBoardFileKeys[3];

// A name of a file in the folder itself. Names with "\", "/", ":" or ".." could reach outside
// it (the shipped files never lie in sub-folders): the installer neither copies nor deletes
// them. An empty name names no file.
bool IsPlainFileName(const std::string& name);

} // namespace setup

#include "setup/BoardList.h"

#include "ui/IniFile.h"

namespace setup {

const BoardFileKey kBoardFileKeys[3] = {
    {"LOGO", "FILENAME"}, {"NT4 SHUTDOWN", "BATCH FILE"}, {"NT4 SHUTDOWN", "EXEC FILE"}};

namespace {

// Without blanks and control characters at either end.
std::string Trimmed(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

} // namespace

std::vector<std::string> ReadBoardList(os::System& system, const std::string& orloIni) {
    std::vector<std::string> names;
    ui::TIniFile ini(system, orloIni);
    for (const std::string& line : ini.ReadSectionValues("ORLO")) {
        auto eq = line.find('=');
        names.push_back(eq == std::string::npos ? std::string() : Trimmed(line.substr(eq + 1)));
    }
    return names;
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos &&
           name.find("..") == std::string::npos;
}

} // namespace setup

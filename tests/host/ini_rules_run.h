// Runs the profile cases of ini_rules_table.h through an INI object on a system's profile service:
// the host tests on the simulated one, the Windows probe on the real one.
#pragma once

#include "ini_rules_table.h"
#include "os/System.h"
#include "ui/IniFile.h"

#include <functional>
#include <string>
#include <vector>

namespace ini_rules {

inline std::string Joined(const std::vector<std::string>& entries) {
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i)
        text += (i ? "|" : "") + entries[i];
    return text;
}

// What the case's read gives after its file is in place (by `setFile`) and its write is done.
inline std::string RunProfileCase(const ProfileCase& c, os::System& system, const std::string& file,
                                  const std::function<void(const std::string& bytes)>& setFile) {
    setFile(std::string(c.file));
    ui::TIniFile ini(system, file);
    if (c.write.section)
        ini.WriteString(c.write.section, std::string(c.write.key), std::string(c.write.value));
    switch (c.read) {
    case Read::Value:
        return ini.ReadString(c.section, std::string(c.key), kDefault);
    case Read::SectionLines:
        return Joined(ini.ReadSectionValues(c.section));
    case Read::SectionNames:
        return Joined(system.GetPrivateProfileSectionNames(file));
    }
    return std::string();
}

} // namespace ini_rules

// Small helpers the monitor shares: the OS name, printf-style formatting and the system
// language name.
#pragma once

#include "os/System.h"

#include <string>

namespace ui {
class Application;
}

namespace monitor {

// "32S", "95", "98", "ME", "NT3", "NT4", "2000", "XP", "SERVER2003", or empty. Asks the system
// at every call; a failed query shows "Error in GetVersionEx" and gives the empty name.
std::string GetOSName(os::System& system, ui::Application& app);

// The name for a version record (the table behind GetOSName).
std::string OSNameOf(const os::VersionInfo& version);

// The systems on which the ghost monitor's library is used: "2000", "XP" and "SERVER2003".
bool HasGhostMonitor(const std::string& osName);

// printf-style formatting of any length: the whole text always comes back.
#if defined(__GNUC__) && !defined(_WIN32)
__attribute__((format(printf, 1, 2)))
#endif
std::string
FormatText(const char* format, ...);

// The text to write as an INI value so that reading the key gives back `text` unchanged. The
// read removes the blanks around a value and one pair of enclosing quotes: a text that begins or
// ends with a blank, or is itself enclosed in quotes, is written in double quotes.
std::string ProfileValueFor(const std::string& text);

// "ENGLISH", "JAPANESE", "CHINESE_SIMPLIFIED" and so on, from the system's default locale.
std::string GetSystemLanguageName(os::System& system);
std::string LanguageNameOf(std::uint32_t lcid);

} // namespace monitor

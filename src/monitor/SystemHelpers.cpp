#include "monitor/SystemHelpers.h"

#include "ui/Application.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace monitor {

std::string OSNameOf(const os::VersionInfo& v) {
    switch (v.platformId) {
    case os::kPlatformWin32s:
        return "32S";
    case os::kPlatformWin9x:
        if (v.majorVersion == 4 && v.minorVersion == 0) return "95";
        if (v.majorVersion == 4 && v.minorVersion == 10) return "98";
        if (v.majorVersion == 4 && v.minorVersion == 90) return "ME";
        return "";
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

bool HasGhostMonitor(const std::string& osName) {
    return osName == "2000" || osName == "XP" || osName == "SERVER2003";
}

std::string GetOSName(os::System& system, ui::Application& app) {
    os::VersionInfo version;
    if (!system.GetVersionEx(version)) {
        app.ShowMessage("Error in GetVersionEx");
        return "";
    }
    return OSNameOf(version);
}

std::string ProfileValueFor(const std::string& text) {
    if (text.empty()) return text;
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const char first = text.front(), last = text.back();
    const bool quoted = text.size() >= 2 && first == last && (first == '"' || first == '\'');
    if (blank(first) || blank(last) || quoted) return '"' + text + '"';
    return text;
}

std::string FormatText(const char* format, ...) {
    if (!format || !*format) return "";
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(again);
    return text;
}

std::string LanguageNameOf(std::uint32_t lcid) {
    unsigned primary = lcid & 0x3FF;
    unsigned sub = (lcid >> 10) & 0x3F;
    switch (primary) {
    case 0x00:
        return "NEUTRAL";
    case 0x01:
        return "ARABIC";
    case 0x02:
        return "BULGARIAN";
    case 0x03:
        return "CATALAN";
    case 0x04:
        return sub == 2 ? "CHINESE_SIMPLIFIED" : "CHINESE_TRADITIONAL";
    case 0x05:
        return "CZECH";
    case 0x06:
        return "DANISH";
    case 0x07:
        return "GERMAN";
    case 0x08:
        return "GREEK";
    case 0x09:
        return "ENGLISH";
    case 0x0A:
        return "SPANISH";
    case 0x0B:
        return "FINNISH";
    case 0x0C:
        return "FRENCH";
    case 0x0D:
        return "HEBREW";
    case 0x0E:
        return "HUNGARIAN";
    case 0x0F:
        return "ICELANDIC";
    case 0x10:
        return "ITALIAN";
    case 0x11:
        return "JAPANESE";
    case 0x12:
        return "KOREAN";
    case 0x13:
        return "DUTCH";
    case 0x14:
        return "NORWEGIAN";
    case 0x15:
        return "POLISH";
    case 0x16:
        return "PORTUGUESE";
    case 0x18:
        return "ROMANIAN";
    case 0x19:
        return "RUSSIAN";
    case 0x1A:
        return "CROATIAN";
    case 0x1B:
        return "SLOVAK";
    case 0x1C:
        return "ALBANIAN";
    case 0x1D:
        return "SWEDISH";
    case 0x1E:
        return "THAI";
    case 0x1F:
        return "TURKISH";
    case 0x21:
        return "INDONESIAN";
    case 0x22:
        return "UKRAINIAN";
    case 0x23:
        return "BELARUSIAN";
    case 0x24:
        return "SLOVENIAN";
    case 0x25:
        return "ESTONIAN";
    case 0x26:
        return "LATVIAN";
    case 0x27:
        return "LITHUANIAN";
    case 0x29:
        return "FARSI";
    case 0x2A:
        return "VIETNAMESE";
    case 0x2D:
        return "BASQUE";
    case 0x36:
        return "AFRIKAANS";
    case 0x38:
        return "FAEROESE";
    default:
        return "ENGLISH";
    }
}

std::string GetSystemLanguageName(os::System& system) {
    return LanguageNameOf(system.GetSystemDefaultLCID());
}

} // namespace monitor

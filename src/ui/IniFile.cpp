#include "ui/IniFile.h"

#include <cstdint>

#include "ui/Exception.h"

namespace ui {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ReadHex(const std::string& digits, int& value) {
    std::uint32_t result = 0;
    std::size_t significant = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        if (result != 0 || digit != 0) ++significant;
        if (significant > 8) return false;
        result = result * 16 + static_cast<std::uint32_t>(digit);
    }
    value = static_cast<int>(static_cast<std::int32_t>(result));
    return true;
}

bool ReadDecimal(const std::string& text, int& value) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) pos = 1;
    if (pos == text.size()) return false;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t result = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9') return false;
        result = result * 10 + (text[pos] - '0');
        if (result > limit) return false;
    }
    value = static_cast<int>(negative ? -result : result);
    return true;
}

} // namespace

int IniTextToInteger(const std::string& text, int defaultValue) {
    int value = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const bool ok = hex ? ReadHex(text.substr(2), value) : ReadDecimal(text, value);
    return ok ? value : defaultValue;
}

TIniFile::TIniFile(os::System& system, const std::string& fileName)
    : system_(system), fileName_(fileName) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    return system_.GetPrivateProfileString(section, key, defaultValue, fileName_);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
    return IniTextToInteger(ReadString(section, key, std::string()), defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (!system_.WritePrivateProfileString(section, key, value, fileName_)) {
        throw Exception("Unable to write to " + fileName_);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const {
    return !system_.GetPrivateProfileSection(section, fileName_).empty();
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
    return system_.GetPrivateProfileSection(section, fileName_);
}

} // namespace ui

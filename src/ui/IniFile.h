// The class library's INI-file object. It holds only the file's name: every read and write is one
// private-profile access to that file through os::System, so nothing is cached and no file stays
// open. Section and key names match without regard to case (the private-profile service's rule).
#pragma once

#include <string>
#include <vector>

#include "os/System.h"

namespace ui {

// The integer reading of an INI value: decimal with an optional leading '-', or hexadecimal
// behind "0x"/"0X" when the text is longer than two characters. Hexadecimal takes up to eight
// digits as an unsigned 32-bit pattern (so "0xFFFFFFFF" is -1); decimal must lie in the signed
// 32-bit range. Anything else (empty text, blanks, "12abc", "0x", "+5", out of range) gives the
// default.
int IniTextToInteger(const std::string& text, int defaultValue);

class TIniFile {
  public:
    TIniFile(os::System& system, const std::string& fileName);

    const std::string& FileName() const { return fileName_; }

    // At most 2047 characters come back; a missing file, section or key gives the default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Any non-zero number is true; text that is no number gives the default.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // The writes create the file, section and key as needed. A failed write throws ui::Exception
    // "Unable to write to <file name>".
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The section exists when it holds at least one key.
    bool SectionExists(const std::string& section) const;
    // The section's "key=value" lines in file order.
    std::vector<std::string> ReadSectionValues(const std::string& section) const;

  private:
    os::System& system_;
    std::string fileName_;
};

} // namespace ui

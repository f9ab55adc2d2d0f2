// The simulated machine's private-profile (INI) engine: the rules by which the Windows
// private-profile functions read and change a file, applied to the file's bytes.
//
// Reading:
// - A line ends at CR LF, at a lone CR or at a lone LF. Every name and value ends at its first
//   NUL byte, as the functions take them as C strings; the lines themselves run on past it.
// - A section starts at a line whose first non-blank character is '[' and that holds a ']'; its
//   name is the text up to the line's last ']', blanks around it removed. Lines before the first
//   section belong to none.
// - A key line is a line of a section that holds '='. Its key is the text before the first '=',
//   its value the text after it, both with surrounding blanks removed. A key line that starts
//   with ';' (a comment) is still found by its name but is not listed with the section's lines;
//   a line without '=' is never found, but it is listed (comments without '=' are not).
// - Section and key names match without regard to ASCII letter case, blanks around the names
//   asked for removed; the first matching section is the section, and the first matching key in
//   it is the key.
// - A value enclosed in a matching pair of double or single quotes loses the quotes.
// - A file that begins with the UTF-8 byte-order mark is read as UTF-8 text, converted to the
//   ANSI code page (Windows-1252 here; a character it lacks reads as '?').
//
// Writing:
// - Names lose their surrounding blanks, as when reading. Names that the file cannot hold as
//   written ("a=b" as a key, "[t]" as a key, which reads back as a section header) are written
//   all the same: they read back as the file's lines then say.
// - An existing key's line is rewritten as "key=value" with the key spelled as the file had it.
// - A new key goes right after the last key line of its section (after the section's header when
//   it has none), so blank lines and comments that lead into the next section stay there.
// - A new section "[section]" goes at the end of the file, after a blank line unless the file is
//   empty or already ends in one. An empty file (or one that does not exist) thus becomes
//   "[section]\r\nkey=value\r\n".
// - Every line written ends in CR LF; the file's other lines are left exactly as they were. A
//   file with the UTF-8 mark is written back in UTF-8 behind its mark.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace os::sim {

// The text functions answer with at most this many characters (a 2048-byte buffer).
constexpr std::size_t kProfileStringLimit = 2047;

// GetPrivateProfileString: the key's value, or the default (without its trailing blanks) when the
// section or key is missing; either cut to kProfileStringLimit characters.
std::string ProfileGetString(const std::string& content, const std::string& section,
                             const std::string& key, const std::string& defaultValue);

// WritePrivateProfileString: sets the key's value, adding the key and its section as needed.
// Returns false, leaving the content unchanged, when the section or key is empty or when a name
// or the value holds a line break (such a value could not be read back).
bool ProfileSetString(std::string& content, const std::string& section, const std::string& key,
                      const std::string& value);

// GetPrivateProfileSection: the lines of the section, in file order: "key=value" for each key
// line (the value as it stands, quotes included), the text of each line without '='.
std::vector<std::string> ProfileSectionLines(const std::string& content,
                                             const std::string& section);

// GetPrivateProfileSectionNames: the name of every section header, in file order.
std::vector<std::string> ProfileSectionNames(const std::string& content);

} // namespace os::sim

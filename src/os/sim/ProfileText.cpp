#include "os/sim/ProfileText.h"

#include <cstdint>

namespace os::sim {

namespace {

const char* const kBlanks = " \t\r\n\v\f";
const char* const kLineEnd = "\r\n";
const std::string kUtf8Mark = "\xEF\xBB\xBF";

// Key: "name=value", found by name and listed. Comment: a ';' line with '=', found by name but
// not listed. Text: a line without '=', listed but never found. Other: blank lines and ';' lines
// without '=', neither.
enum class LineKind { Other, Section, Key, Comment, Text };

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past its text, before the line end
    std::size_t next = 0;  // first byte of the following line
    LineKind kind = LineKind::Other;
    std::string name;  // section name, key, or a text line's text
    std::string value; // as it stands, quotes included
};

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// The functions see every name and value as a C string: it ends at its first NUL byte.
std::string CutAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// A name as the caller gives it, the way the functions take it.
std::string CallerName(const std::string& name) {
    return Trim(CutAtNul(name));
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

void Classify(Line& line, const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return;
    const std::size_t close = trimmed.rfind(']');
    if (trimmed[0] == '[' && close != std::string::npos) {
        line.kind = LineKind::Section;
        line.name = CallerName(trimmed.substr(1, close - 1));
        return;
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos) {
        line.name = CutAtNul(trimmed);
        if (trimmed[0] != ';' && !line.name.empty()) line.kind = LineKind::Text;
        return;
    }
    line.kind = trimmed[0] == ';' ? LineKind::Comment : LineKind::Key;
    line.name = CallerName(trimmed.substr(0, equals));
    line.value = Trim(CutAtNul(trimmed.substr(equals + 1)));
}

// A line ends at CR LF, at a lone CR or at a lone LF.
std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        Line line;
        line.begin = pos;
        line.end = content.find_first_of(kLineEnd, pos);
        if (line.end == std::string::npos) line.end = content.size();
        line.next = line.end;
        if (line.next < content.size() && content[line.next] == '\r') ++line.next;
        if (line.next < content.size() && content[line.next] == '\n') ++line.next;
        Classify(line, content.substr(line.begin, line.end - line.begin));
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// The lines [first, last) of the first section named `section`; found is false when none is.
struct SectionRange {
    bool found = false;
    std::size_t header = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};

SectionRange FindSection(const std::vector<Line>& lines, const std::string& section) {
    SectionRange range;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section) continue;
        if (range.found) {
            range.last = i;
            return range;
        }
        if (SameName(lines[i].name, section)) {
            range.found = true;
            range.header = i;
            range.first = i + 1;
        }
    }
    range.last = lines.size();
    return range;
}

// Index of the first key or comment line named `key` in the range, or lines.size().
std::size_t FindKey(const std::vector<Line>& lines, const SectionRange& range,
                    const std::string& key) {
    for (std::size_t i = range.first; i < range.last; ++i) {
        const bool named = lines[i].kind == LineKind::Key || lines[i].kind == LineKind::Comment;
        if (named && SameName(lines[i].name, key)) return i;
    }
    return lines.size();
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string Limit(std::string text) {
    if (text.size() > kProfileStringLimit) text.resize(kProfileStringLimit);
    return text;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of(kLineEnd) != std::string::npos;
}

// Inserts a CR LF-ended line at `pos`, which is the start of a line or the end of the content;
// a last line without a line end gets one first.
void InsertLine(std::string& content, std::size_t pos, const std::string& text) {
    std::string inserted = text + kLineEnd;
    const bool lastLineOpen =
        pos == content.size() && pos > 0 && content[pos - 1] != '\n' && content[pos - 1] != '\r';
    if (lastLineOpen) inserted = kLineEnd + inserted;
    content.insert(pos, inserted);
}

// --- files in UTF-8 -------------------------------------------------------------------------
// A file that begins with the UTF-8 byte-order mark holds UTF-8 text. The functions see it in
// the ANSI code page (Windows-1252 on the simulated machine: a character it lacks reads as '?')
// and write it back in UTF-8 behind the mark.

// Windows-1252 bytes 0x80 to 0x9F; the other bytes are their own code points.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t CodePointOfAnsi(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

char AnsiOfCodePoint(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool HasUtf8Mark(const std::string& content) {
    return content.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
}

// The text behind the mark in the ANSI code page. A byte that starts no valid sequence reads as
// '?', and so does each half of a character beyond the 16-bit range.
std::string AnsiFromUtf8(const std::string& content) {
    std::string text;
    text.reserve(content.size());
    std::size_t i = kUtf8Mark.size();
    while (i < content.size()) {
        const auto lead = static_cast<unsigned char>(content[i]);
        int length = 0;
        std::uint32_t codePoint = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            codePoint = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            codePoint = lead & 0x07u;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= content.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(content[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        const std::uint32_t smallest = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0;
        valid = valid && codePoint >= smallest && codePoint <= 0x10FFFF &&
                (codePoint < 0xD800 || codePoint > 0xDFFF);
        if (!valid) {
            text += '?';
            ++i;
            continue;
        }
        text += codePoint > 0xFFFF ? std::string("??") : std::string(1, AnsiOfCodePoint(codePoint));
        i += static_cast<std::size_t>(length);
    }
    return text;
}

std::string Utf8FromAnsi(const std::string& text) {
    std::string content = kUtf8Mark;
    content.reserve(kUtf8Mark.size() + text.size() + text.size() / 8);
    for (char c : text) {
        const std::uint32_t codePoint = CodePointOfAnsi(static_cast<unsigned char>(c));
        if (codePoint < 0x80) {
            content += c;
        } else if (codePoint < 0x800) {
            content += static_cast<char>(0xC0 | (codePoint >> 6));
            content += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            content += static_cast<char>(0xE0 | (codePoint >> 12));
            content += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            content += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return content;
}

// The lines of the file as the functions see them.
std::string AnsiText(const std::string& content) {
    return HasUtf8Mark(content) ? AnsiFromUtf8(content) : content;
}

bool SetInAnsiText(std::string& text, const std::string& section, const std::string& key,
                   const std::string& value) {
    const std::vector<Line> lines = SplitLines(text);
    const SectionRange range = FindSection(lines, section);
    if (!range.found) {
        const bool endsBlank = !lines.empty() && lines.back().kind == LineKind::Other &&
                               Trim(text.substr(lines.back().begin)).empty();
        if (!lines.empty() && !endsBlank) InsertLine(text, text.size(), std::string());
        InsertLine(text, text.size(), "[" + section + "]");
        InsertLine(text, text.size(), key + "=" + value);
        return true;
    }
    const std::size_t index = FindKey(lines, range, key);
    if (index < lines.size()) {
        const Line& line = lines[index];
        text.replace(line.begin, line.next - line.begin, line.name + "=" + value + kLineEnd);
        return true;
    }
    std::size_t after = range.header;
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key) after = i;
    }
    InsertLine(text, lines[after].next, key + "=" + value);
    return true;
}

} // namespace

std::string ProfileGetString(const std::string& content, const std::string& section,
                             const std::string& key, const std::string& defaultValue) {
    const std::vector<Line> lines = SplitLines(AnsiText(content));
    const SectionRange range = FindSection(lines, CallerName(section));
    if (range.found) {
        const std::size_t index = FindKey(lines, range, CallerName(key));
        if (index < lines.size()) return Limit(Unquote(lines[index].value));
    }
    const std::string given = CutAtNul(defaultValue);
    const std::size_t last = given.find_last_not_of(' ');
    return Limit(last == std::string::npos ? std::string() : given.substr(0, last + 1));
}

bool ProfileSetString(std::string& content, const std::string& section, const std::string& key,
                      const std::string& value) {
    const std::string sectionName = CallerName(section);
    const std::string keyName = CallerName(key);
    const std::string text = CutAtNul(value);
    if (sectionName.empty() || keyName.empty() || HasLineBreak(sectionName) ||
        HasLineBreak(keyName) || HasLineBreak(text))
        return false;
    if (!HasUtf8Mark(content)) return SetInAnsiText(content, sectionName, keyName, text);
    std::string ansi = AnsiFromUtf8(content);
    SetInAnsiText(ansi, sectionName, keyName, text);
    content = Utf8FromAnsi(ansi);
    return true;
}

std::vector<std::string> ProfileSectionLines(const std::string& content,
                                             const std::string& section) {
    std::vector<std::string> result;
    const std::vector<Line> lines = SplitLines(AnsiText(content));
    const SectionRange range = FindSection(lines, CallerName(section));
    if (!range.found) return result;
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key) result.push_back(lines[i].name + "=" + lines[i].value);
        if (lines[i].kind == LineKind::Text) result.push_back(lines[i].name);
    }
    return result;
}

std::vector<std::string> ProfileSectionNames(const std::string& content) {
    std::vector<std::string> names;
    for (const Line& line : SplitLines(AnsiText(content))) {
        if (line.kind == LineKind::Section && !line.name.empty()) names.push_back(line.name);
    }
    return names;
}

} // namespace os::sim

#include "os/sim/ProfileText.h"

namespace os::sim {

namespace {

const char* const kBlanks = " \t\r\n\v\f";
const char* const kLineEnd = "\r\n";

enum class LineKind { Other, Section, Key };

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past its text, before the line end
    std::size_t next = 0;  // first byte of the following line
    LineKind kind = LineKind::Other;
    std::string name; // section name or key
    std::string value;
};

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
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
    if (trimmed.empty() || trimmed[0] == ';') return;
    if (trimmed[0] == '[') {
        const std::size_t close = trimmed.find(']');
        line.kind = LineKind::Section;
        line.name =
            Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return;
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return;
    line.kind = LineKind::Key;
    line.name = Trim(trimmed.substr(0, equals));
    line.value = Trim(trimmed.substr(equals + 1));
}

std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        Line line;
        line.begin = pos;
        const std::size_t newline = content.find('\n', pos);
        if (newline == std::string::npos) {
            line.end = content.size();
            line.next = content.size();
        } else {
            line.end = (newline > pos && content[newline - 1] == '\r') ? newline - 1 : newline;
            line.next = newline + 1;
        }
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

// Index of the first key line named `key` in the range, or lines.size().
std::size_t FindKey(const std::vector<Line>& lines, const SectionRange& range,
                    const std::string& key) {
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return i;
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
    return text.find_first_of("\r\n") != std::string::npos;
}

// Inserts a CR LF-ended line at `pos`, which is the start of a line or the end of the content;
// a last line without a line end gets one first.
void InsertLine(std::string& content, std::size_t pos, const std::string& text) {
    std::string inserted = text + kLineEnd;
    if (pos == content.size() && pos > 0 && content[pos - 1] != '\n')
        inserted = kLineEnd + inserted;
    content.insert(pos, inserted);
}

} // namespace

std::string ProfileGetString(const std::string& content, const std::string& section,
                             const std::string& key, const std::string& defaultValue) {
    const std::vector<Line> lines = SplitLines(content);
    const SectionRange range = FindSection(lines, section);
    if (range.found) {
        const std::size_t index = FindKey(lines, range, key);
        if (index < lines.size()) return Limit(Unquote(lines[index].value));
    }
    const std::size_t last = defaultValue.find_last_not_of(' ');
    return Limit(last == std::string::npos ? std::string() : defaultValue.substr(0, last + 1));
}

bool ProfileSetString(std::string& content, const std::string& section, const std::string& key,
                      const std::string& value) {
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value))
        return false;
    const std::vector<Line> lines = SplitLines(content);
    const SectionRange range = FindSection(lines, section);
    if (!range.found) {
        const bool endsBlank = !lines.empty() && lines.back().kind == LineKind::Other &&
                               Trim(content.substr(lines.back().begin)).empty();
        if (!lines.empty() && !endsBlank) InsertLine(content, content.size(), std::string());
        InsertLine(content, content.size(), "[" + section + "]");
        InsertLine(content, content.size(), key + "=" + value);
        return true;
    }
    const std::size_t index = FindKey(lines, range, key);
    if (index < lines.size()) {
        const Line& line = lines[index];
        content.replace(line.begin, line.next - line.begin, line.name + "=" + value + kLineEnd);
        return true;
    }
    std::size_t after = range.header;
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key) after = i;
    }
    InsertLine(content, lines[after].next, key + "=" + value);
    return true;
}

std::vector<std::string> ProfileSectionLines(const std::string& content,
                                             const std::string& section) {
    std::vector<std::string> result;
    const std::vector<Line> lines = SplitLines(content);
    const SectionRange range = FindSection(lines, section);
    if (!range.found) return result;
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key)
            result.push_back(Trim(content.substr(lines[i].begin, lines[i].end - lines[i].begin)));
    }
    return result;
}

std::vector<std::string> ProfileSectionNames(const std::string& content) {
    std::vector<std::string> names;
    for (const Line& line : SplitLines(content)) {
        if (line.kind == LineKind::Section) names.push_back(line.name);
    }
    return names;
}

} // namespace os::sim

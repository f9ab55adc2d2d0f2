#include "monitor/LogTrim.h"

namespace monitor {

namespace {

constexpr std::int32_t kOneDay = 86400;

// A line: bytes [begin, end) of the buffer; `next` is where the following line starts.
struct LineRange {
    std::size_t begin, end, next;
};

// The line that starts at `begin`, as the class library's string list reads lines: it ends at
// CR LF, at a lone CR or at a lone LF; a last line without an end still counts, and every other
// byte (an embedded NUL too) belongs to its line.
LineRange LineAt(const std::string& bytes, std::size_t begin) {
    const std::size_t n = bytes.size();
    std::size_t end = begin;
    while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    std::size_t next = end;
    if (next < n && bytes[next] == '\r') ++next;
    if (next < n && bytes[next] == '\n') ++next;
    return {begin, end, next};
}

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F;
}

// Leading blanks, an optional sign, then decimal digits up to the first other character, as
// atol reads them; the digits accumulate in a 32-bit long.
std::int32_t ReadLong(const char* text, const char* end) {
    while (text < end && (*text == ' ' || (*text >= '\t' && *text <= '\r')))
        ++text;
    bool negative = false;
    if (text < end && (*text == '+' || *text == '-')) negative = *text++ == '-';
    std::uint32_t value = 0;
    for (; text < end && *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<std::uint32_t>(*text - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

// Whether the trim removes this line when it stands first in the file.
bool RemovedAtTop(const char* line, const char* end, std::int32_t now) {
    if (line < end && *line == '*') return true;
    // The text after the last comma; the whole line when it has none.
    const char* tail = end;
    while (tail > line && tail[-1] != ',')
        --tail;
    while (tail < end && IsBlankOrControl(*tail))
        ++tail;
    while (end > tail && IsBlankOrControl(end[-1]))
        --end;
    if (tail == end) return true;
    const std::int32_t stamp = ReadLong(tail, end);
    if (stamp == 0) return true;
    return SecondsBetween(now, stamp) > kOneDay;
}

// Whether the lines from `first` on already end in CR LF each, the last one included.
bool EndsEveryLineInCrLf(const std::string& bytes, std::size_t first) {
    const std::size_t n = bytes.size();
    for (std::size_t i = first; i < n; ++i) {
        if (bytes[i] == '\n') return false;
        if (bytes[i] == '\r') {
            if (i + 1 == n || bytes[i + 1] != '\n') return false;
            ++i;
        }
    }
    return first == n || bytes[n - 1] == '\n';
}

} // namespace

std::int32_t SecondsBetween(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) -
                                     static_cast<std::uint32_t>(earlier));
}

std::size_t FirstKeptLine(const std::string& bytes, std::int32_t now) {
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const LineRange line = LineAt(bytes, begin);
        if (!RemovedAtTop(bytes.data() + line.begin, bytes.data() + line.end, now)) break;
        begin = line.next;
    }
    return begin;
}

void KeepLinesFrom(std::string& bytes, std::size_t first) {
    if (EndsEveryLineInCrLf(bytes, first)) {
        bytes.erase(0, first);
        return;
    }
    std::size_t size = 0;
    for (std::size_t begin = first; begin < bytes.size();) {
        const LineRange line = LineAt(bytes, begin);
        size += line.end - line.begin + 2;
        begin = line.next;
    }
    std::string kept;
    kept.reserve(size);
    for (std::size_t begin = first; begin < bytes.size();) {
        const LineRange line = LineAt(bytes, begin);
        kept.append(bytes, line.begin, line.end - line.begin);
        kept += "\r\n";
        begin = line.next;
    }
    bytes.swap(kept);
}

} // namespace monitor

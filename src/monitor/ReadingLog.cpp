// The reading log log.txt in the program folder: the periodic line of the polling tick, the
// appends of the limit alarm, the trim of old lines at start and every hour, and the button that
// opens the file.
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/Exception.h"

#include <cstdint>
#include <string>
#include <vector>

namespace monitor {

namespace {

const char* const kLogName = "log.txt";
// The trim writes its result here first, so that a failed write leaves log.txt whole.
const char* const kTrimTempName = "log.tmp";
constexpr std::int32_t kOneDay = 86400;

// A difference of two clock readings as the 32-bit signed arithmetic of the C library's time
// values gives it.
std::int32_t SecondsBetween(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) -
                                     static_cast<std::uint32_t>(earlier));
}

// The seconds an "Every ..." rule waits between periodic lines; 0 for the other texts.
std::int32_t RuleInterval(const std::string& rule) {
    if (rule == "Every 1 minute") return 60;
    if (rule == "Every 5 minute") return 300;
    if (rule == "Every 10 minute") return 600;
    if (rule == "Every 30 minute") return 1800;
    if (rule == "Every 1 hour") return 3600;
    return 0;
}

// Text mode of the C library: every line feed is stored as carriage return and line feed.
std::string ToTextMode(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

// The file's lines as the class library's string list reads them: a line ends at CR LF, at a
// lone CR or at a lone LF; a last line without an end still counts; every other byte (an
// embedded NUL too) belongs to its line.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const std::size_t start = i;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        lines.push_back(bytes.substr(start, i - start));
        if (i < n && bytes[i] == '\r') ++i;
        if (i < n && bytes[i] == '\n') ++i;
    }
    return lines;
}

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F;
}

// Leading blanks, an optional sign, then decimal digits up to the first other character, as
// atol reads them; the digits accumulate in a 32-bit long.
std::int32_t ReadLong(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

// Whether the trim removes this line when it stands first in the file.
bool RemovedAtTop(const std::string& line, std::int32_t now) {
    if (!line.empty() && line[0] == '*') return true;
    const std::size_t comma = line.rfind(',');
    const std::string tail = comma == std::string::npos ? line : line.substr(comma + 1);
    std::size_t first = 0;
    std::size_t last = tail.size();
    while (first < last && IsBlankOrControl(tail[first]))
        ++first;
    while (last > first && IsBlankOrControl(tail[last - 1]))
        --last;
    if (first == last) return true;
    const std::int32_t stamp = ReadLong(tail.substr(first, last - first));
    if (stamp == 0) return true;
    return SecondsBetween(now, stamp) > kOneDay;
}

} // namespace

// A file that cannot be opened or written is skipped: the tick or the alarm that logs goes on.
void TForm1::AppendLogLine(const std::string& text) {
    BtnViewLogFile.SetEnabled(true);
    program_.System.AppendFile(program_.ExeDir + kLogName, ToTextMode(text));
}

void TForm1::LogNowCheck() {
    if (program_.LogAtFirstTick) program_.LastLogTime = program_.System.Time();
}

void TForm1::LogReadingsIfDue() {
    MonitorProgram& p = program_;
    const std::string& rule = ComboBoxHowToLog.Text();
    bool write = rule == "Automated";
    if (const std::int32_t interval = RuleInterval(rule))
        write = SecondsBetween(p.System.Time(), p.LastLogTime) >= interval;
    if (p.LogAtFirstTick) {
        p.LogAtFirstTick = false;
        write = true;
    }
    if (!write) return;

    p.LastLogTime = p.System.Time();
    std::string channels;
    for (const TFAN& fan : Settings.Fan)
        if (fan.Enabled)
            channels += FormatText("%s:%d, ", fan.Name.c_str(), static_cast<int>(fan.Value));
    for (const TTEMPERATURE& temperature : Settings.Temperature)
        if (temperature.Enabled)
            channels += FormatText("%s Temp:%d, ", temperature.Name.c_str(),
                                   static_cast<int>(temperature.Value));
    for (const TVOLTAGE& voltage : Settings.Voltage)
        if (voltage.Enabled)
            channels +=
                FormatText("%s:%d, ", voltage.Name.c_str(), static_cast<int>(voltage.Value));
    const std::string when = p.System.FormatLocalDateTime(p.System.GetLocalTime());
    AppendLogLine(FormatText("%s - %s%ld\n", when.c_str(), channels.c_str(),
                             static_cast<long>(p.System.Time())));
}

// Removes lines from the top while they begin with "*", carry nothing numeric after their last
// comma, or a time stamp more than a day old; the first other line ends the removal. The result
// replaces the file only once it is written whole; a file that cannot be read or written throws.
void TForm1::TrimLogFile() {
    os::System& system = program_.System;
    const std::string path = program_.ExeDir + kLogName;
    if (!system.FileExists(path)) return;
    std::string bytes;
    if (!system.ReadFile(path, bytes)) throw ui::Exception("Cannot open file \"" + path + "\"");

    const std::vector<std::string> lines = SplitLines(bytes);
    const std::int32_t now = system.Time();
    // As many rounds as lines, each on the current first line; a kept line stays first, so the
    // later rounds find it again and remove nothing more.
    std::size_t first = 0;
    for (std::size_t round = 0; round < lines.size(); ++round)
        if (RemovedAtTop(lines[first], now)) ++first;

    std::string kept;
    for (std::size_t i = first; i < lines.size(); ++i)
        kept += lines[i] + "\r\n";
    const std::string temp = program_.ExeDir + kTrimTempName;
    if (!system.WriteFile(temp, kept) || !system.MoveFileReplace(temp, path)) {
        system.DeleteFile(temp);
        throw ui::Exception("Cannot create file \"" + path + "\"");
    }
}

void TForm1::BtnViewLogFileClick(ui::Component*) {
    program_.System.ShellExecute(Handle(), "Open", program_.ExeDir + kLogName, "", "",
                                 os::kSwShowNormal);
}

} // namespace monitor

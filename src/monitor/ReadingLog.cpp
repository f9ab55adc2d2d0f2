// The reading log log.txt in the program folder: the periodic line of the polling tick, the
// appends of the limit alarm, the trim of old lines at start and every hour, and the button that
// opens the file.
#include "monitor/LogTrim.h"
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/Exception.h"

#include <cstdint>
#include <string>

namespace monitor {

namespace {

const char* const kLogName = "log.txt";
// The trim writes its result here first, so that a failed write leaves log.txt whole.
const char* const kTrimTempName = "log.tmp";

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
// is written to log.tmp and replaces the file only once it is written whole; a folder that
// refuses the new file gets the file rewritten in place instead. A file that cannot be read or
// written throws.
void TForm1::TrimLogFile() {
    os::System& system = program_.System;
    const std::string path = program_.ExeDir + kLogName;
    if (!system.FileExists(path)) return;
    std::string bytes;
    if (!system.ReadFile(path, bytes)) throw ui::Exception("Cannot open file \"" + path + "\"");

    KeepLinesFrom(bytes, FirstKeptLine(bytes, system.Time()));
    const std::string temp = program_.ExeDir + kTrimTempName;
    bool written = system.WriteFile(temp, bytes) && system.MoveFileReplace(temp, path);
    if (!written && system.FileExists(temp)) {
        system.DeleteFile(temp);
    } else if (!written) {
        written = system.WriteFile(path, bytes);
    }
    if (!written) throw ui::Exception("Cannot create file \"" + path + "\"");
}

void TForm1::BtnViewLogFileClick(ui::Component*) {
    program_.System.ShellExecute(Handle(), "Open", program_.ExeDir + kLogName, "", "",
                                 os::kSwShowNormal);
}

} // namespace monitor

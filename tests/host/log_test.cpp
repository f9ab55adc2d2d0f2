// The reading log log.txt on the simulated machine: the periodic lines of the polling tick under
// each logging rule over virtual hours, the line's layout, appends that fail, the trim of old
// lines and its failures, and the button that opens the file.
#include "AllocationCounter.h"
#include "SimFixture.h"

#include "monitor/WarningForm.h"
#include "ui/Exception.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kLog = "log.txt";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The shipped board INI with some of its lines replaced.
std::string BoardIniWith(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::string text = SimFixture::DataFile("A920.INI") + SimFixture::kSmartFanConfigured;
    for (const auto& [from, to] : changes)
        text = Replaced(text, from, to);
    return text;
}

// The file's lines; every line must end in CR LF.
std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated last line";
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The time stamp at the end of a periodic line "<date> - <items>, <stamp>"; -1 for other lines.
std::int64_t StampOf(const std::string& line) {
    std::size_t dash = line.find(" - ");
    if (dash == std::string::npos || line.find('\n') != std::string::npos) return -1;
    std::size_t digits = line.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(line[digits - 1])))
        --digits;
    if (digits == line.size()) return -1;
    const std::string before = line.substr(0, digits);
    if (before.size() < 2 || (before.compare(before.size() - 2, 2, ", ") != 0 &&
                              before.compare(before.size() - 3, 3, " - ") != 0))
        return -1;
    return std::stoll(line.substr(digits));
}

// --- the logging rules over virtual time ------------------------------------------------------

struct RuleCase {
    const char* rule;
    std::uint32_t runSeconds;
    std::int64_t spacing; // seconds between periodic lines; 0: only the first tick's line
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.rule;
}

class LoggingRule : public ::testing::TestWithParam<RuleCase> {};

// The polling interval is 3 s: the first tick writes, then each rule writes at the first tick at
// least its interval after the previous line, so every spacing is the interval itself.
TEST_P(LoggingRule, WritesAtTheFirstTickAndThenAfterTheInterval) {
    const RuleCase& c = GetParam();
    SimFixture sim;
    sim.WriteProgramFile("A920.INI", BoardIniWith({{"How to log=Log if alert",
                                                    std::string("How to log=") + c.rule}}));
    const std::int32_t start = sim.machine->Time();
    std::int32_t end = 0;
    sim.RunFor(c.runSeconds * 1000, [&](MonitorProgram&) { end = sim.machine->Time(); });

    std::vector<std::string> lines = CrLfLines(sim.ReadProgramFile(kLog));
    ASSERT_FALSE(lines.empty());
    std::vector<std::int64_t> stamps;
    for (const std::string& line : lines) {
        stamps.push_back(StampOf(line));
        ASSERT_GE(stamps.back(), 0) << "not a periodic line: " << line;
    }
    EXPECT_LE(stamps.front() - start, 1) << "the first tick writes";
    if (c.spacing == 0) {
        EXPECT_EQ(stamps.size(), 1u);
        return;
    }
    for (std::size_t i = 1; i < stamps.size(); ++i)
        EXPECT_EQ(stamps[i] - stamps[i - 1], c.spacing) << "line " << i;
    EXPECT_LT(end - stamps.back(), c.spacing + 3) << "a due line is missing at the end";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LoggingRule,
    ::testing::Values(RuleCase{"Automated", 60, 3}, RuleCase{"Every 1 minute", 400, 60},
                      RuleCase{"Every 5 minute", 3600, 300}, RuleCase{"Every 10 minute", 3700, 600},
                      RuleCase{"Every 30 minute", 3700, 1800}, RuleCase{"Every 1 hour", 3700, 3600},
                      RuleCase{"Log if alert", 3600, 0}),
    [](const auto& info) {
        std::string name = info.param.rule;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// "Log if alert": after the first tick's line only the alarm entries come, each followed by an
// empty line.
TEST(ReadingLog, LogIfAlertAddsOnlyAlarmEntriesAfterTheFirstLine) {
    SimFixture sim;
    sim.WriteProgramFile("A920.INI", BoardIniWith({{"Action when exceed the limitations=Ask Me",
                                                    "Action when exceed the limitations=Ignore"}}));
    // Fan 0 (monitored, low limit 3000 RPM) stops after ten minutes.
    sim.machine->BoardScript = [](BoardState& board, std::uint32_t elapsedMs) {
        if (elapsedMs >= 600000) board.fan_count[0] = 0;
    };
    sim.RunFor(1200000);

    std::vector<std::string> lines = CrLfLines(sim.ReadProgramFile(kLog));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_GE(StampOf(lines[0]), 0) << lines[0];
    const std::string entry = "Your 'CPU FAN' Speed exceed the limit , Action when exceed the "
                              "limitations: Ignore";
    for (std::size_t i = 1; i + 1 < lines.size(); i += 2) {
        EXPECT_EQ(lines[i], entry) << "line " << i;
        EXPECT_EQ(lines[i + 1], "") << "line " << i + 1;
    }
    EXPECT_EQ(lines.size() % 2, 1u);
}

// --- the periodic line --------------------------------------------------------------------------

// Only enabled channels, fans first, then temperatures, then voltages; a temperature without a
// reading shows 256, a negative rail its magnitude; the stamp follows the last ", " directly.
TEST(ReadingLog, PeriodicLineListsTheEnabledChannelsInOrder) {
    SimFixture sim;
    std::vector<std::string> appended;
    std::string when;
    std::int32_t now = 0;
    sim.At(5000, [&](TForm1& f) {
        when = sim.process->FormatLocalDateTime(sim.process->GetLocalTime());
        now = sim.machine->Time();
        monitor::_TORLO& s = f.Settings;
        for (auto& fan : s.Fan)
            fan.Enabled = false;
        for (auto& t : s.Temperature)
            t.Enabled = false;
        for (auto& v : s.Voltage)
            v.Enabled = false;
        f.ComboBoxHowToLog.SetText("Automated");
        auto appendNow = [&] {
            const std::string before = sim.ReadProgramFile(kLog);
            f.BtnViewLogFile.SetEnabled(false);
            f.LogReadingsIfDue();
            EXPECT_TRUE(f.BtnViewLogFile.Enabled());
            appended.push_back(sim.ReadProgramFile(kLog).substr(before.size()));
        };
        appendNow();

        s.Fan[0].Enabled = true;
        s.Fan[0].Value = 2700;
        s.Fan[2].Enabled = true;
        s.Fan[2].Value = 0;
        s.Temperature[0].Enabled = true;
        s.Temperature[0].Value = -5;
        s.Temperature[1].Enabled = true;
        s.Temperature[1].Value = 256;
        s.Voltage[0].Enabled = true;
        s.Voltage[0].Value = 1504;
        s.Voltage[8].Enabled = true;
        s.Voltage[8].Name = "-12V";
        s.Voltage[8].Symbol = "-";
        s.Voltage[8].Value = 12096;
        appendNow();
    });
    sim.RunFor(6000);

    ASSERT_EQ(appended.size(), 2u);
    const std::string stamp = std::to_string(now);
    EXPECT_EQ(appended[0], when + " - " + stamp + "\r\n");
    EXPECT_EQ(appended[1], when +
                               " - CPU FAN:2700, Power FAN:0, CPU Temp:-5, System Temp:256, "
                               "VCore:1504, -12V:12096, " +
                               stamp + "\r\n");
}

// At exactly midnight the date-and-time text is the date alone, in the periodic line as in the
// warning window; a second later the time follows it again.
TEST(ReadingLog, AtMidnightTheLineStartsWithTheDateAlone) {
    os::sim::MachineConfig config;
    config.startTime = 1796860800; // 2026-12-10 00:00:00 UTC
    SimFixture sim(config);
    sim.WriteProgramFile(
        "A920.INI", ScenarioBoardIni({{"SYSTEM", "How to log", "Automated"},
                                      {"SYSTEM", "Action when exceed the limitations", "Ignore"},
                                      {"FAN0", "MONITOR", "1"},
                                      {"FAN0", "LOW LIMIT", "3000"},
                                      {"FAN0", "HIGH LIMIT", "9000"}}));
    StopFan92(sim.machine->Board(), 0);
    std::string labelAtMidnight;
    sim.At(500, [&](TForm1& f) {
        ASSERT_EQ(sim.machine->Time(), config.startTime);
        labelAtMidnight = f.Program().FormWarning->LabelDateTime.Caption();
    });
    sim.RunFor(2500);
    EXPECT_EQ(labelAtMidnight, "12/10/2026");
    const std::vector<std::string> lines = LinesContaining(sim.ReadProgramFile(kLog), " - ");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front().rfind("12/10/2026 - CPU FAN:0, ", 0), 0u) << lines.front();
    EXPECT_EQ(lines.back().rfind("12/10/2026 12:00:02 AM - ", 0), 0u) << lines.back();
}

// A log that cannot be written is skipped: no message, the ticks go on, and the lines come again
// once the file can be written.
TEST(ReadingLog, UnwritableLogIsSkippedAndTheTicksGoOn) {
    SimFixture sim;
    sim.WriteProgramFile("A920.INI",
                         BoardIniWith({{"How to log=Log if alert", "How to log=Automated"}}));
    const std::string path = SimFixture::ProgramPath(kLog);
    std::string locked;
    std::size_t requestsWhenLocked = 0;
    sim.At(1000, [&](TForm1&) {
        sim.machine->SetReadOnly(path, true);
        locked = sim.ReadProgramFile(kLog);
        requestsWhenLocked = sim.machine->DriverRequests().size();
    });
    sim.At(10000, [&](TForm1&) {
        EXPECT_EQ(sim.ReadProgramFile(kLog), locked);
        EXPECT_GT(sim.machine->DriverRequests().size(), requestsWhenLocked + 2);
        sim.machine->SetReadOnly(path, false);
    });
    sim.RunFor(14000);
    EXPECT_TRUE(sim.Messages().empty());
    EXPECT_FALSE(locked.empty());
    EXPECT_GT(CrLfLines(sim.ReadProgramFile(kLog)).size(), CrLfLines(locked).size());
}

// --- the trim -----------------------------------------------------------------------------------

// Files before and after one trim; `now` is the machine's clock. Stamp(n) is a time stamp n
// seconds old.
struct TrimCase {
    const char* what;
    std::function<std::string(const std::function<std::string(std::int64_t)>& stamp)> before;
    std::function<std::string(const std::function<std::string(std::int64_t)>& stamp)> after;
};

TEST(ReadingLog, TrimRemovesFromTheTopUntilTheFirstLineThatStays) {
    using Stamp = std::function<std::string(std::int64_t)>;
    auto line = [](const Stamp& s, std::int64_t age) {
        return "12/10/2026 9:00:00 AM - CPU FAN:2700, CPU Temp:45, " + s(age);
    };
    const std::string alarm = "Your 'CPU FAN' Speed exceed the limit , Action when exceed the "
                              "limitations: Ask Me";
    const std::vector<TrimCase> cases = {
        {"a recent first line keeps everything; the file is still rewritten with CR LF",
         [&](const Stamp& s) {
             return line(s, 100) + "\n" + line(s, 200000) + "\n" + alarm + "\r\n\r\n" + "x\r\n";
         },
         [&](const Stamp& s) {
             return line(s, 100) + "\r\n" + line(s, 200000) + "\r\n" + alarm + "\r\n\r\n" + "x\r\n";
         }},
        {"only old lines leave an empty file",
         [&](const Stamp& s) { return line(s, 90000) + "\r\n" + line(s, 86401) + "\r\n"; },
         [](const Stamp&) { return std::string(); }},
        {"alarm entries at the top go with their empty lines; those below a kept line stay",
         [&](const Stamp& s) {
             return alarm + "\r\n\r\n" + alarm + "\r\n\r\n" + line(s, 10) + "\r\n" + alarm +
                    "\r\n\r\n" + line(s, 90000) + "\r\n";
         },
         [&](const Stamp& s) {
             return line(s, 10) + "\r\n" + alarm + "\r\n\r\n" + line(s, 90000) + "\r\n";
         }},
        {"a '*' line goes whatever its stamp; the recent line after it stays",
         [&](const Stamp& s) { return "*" + line(s, 0) + "\r\n" + line(s, 5) + "\r\n"; },
         [&](const Stamp& s) { return line(s, 5) + "\r\n"; }},
        {"a small number followed by letters is an old stamp",
         [&](const Stamp& s) { return "a - b:1, 12abc\r\n" + line(s, 5) + "\r\n"; },
         [&](const Stamp& s) { return line(s, 5) + "\r\n"; }},
        {"a stamp of 0 goes, as does text that is no number",
         [&](const Stamp& s) {
             return "a - b:1, 0\r\na, -0\r\nno comma\r\na,b, x1\r\n" + line(s, 5) + "\r\n";
         },
         [&](const Stamp& s) { return line(s, 5) + "\r\n"; }},
        {"exactly one day old stays; one second more goes",
         [&](const Stamp& s) {
             return line(s, 86401) + "\r\n" + line(s, 86400) + "\r\n" + line(s, 99999) + "\r\n";
         },
         [&](const Stamp& s) { return line(s, 86400) + "\r\n" + line(s, 99999) + "\r\n"; }},
        {"a stamp in the future stays (signed difference)",
         [&](const Stamp& s) { return line(s, -5000) + "\r\n" + line(s, 99999) + "\r\n"; },
         [&](const Stamp& s) { return line(s, -5000) + "\r\n" + line(s, 99999) + "\r\n"; }},
        {"a line without a comma is read whole; blanks and control characters around go",
         [&](const Stamp& s) { return " \t" + s(20) + "\t \x01\r\n" + line(s, 99999) + "\r\n"; },
         [&](const Stamp& s) { return " \t" + s(20) + "\t \x01\r\n" + line(s, 99999) + "\r\n"; }},
        {"a sign before the digits is read",
         [&](const Stamp& s) { return "a, +" + s(20) + "\r\n"; },
         [&](const Stamp& s) { return "a, +" + s(20) + "\r\n"; }},
        {"embedded NUL bytes are kept; reading the stamp stops at one",
         [&](const Stamp& s) {
             return line(s, 20) + std::string("\0z", 2) + "\r\n" + std::string("a\0b\0", 4) +
                    "\r\n";
         },
         [&](const Stamp& s) {
             return line(s, 20) + std::string("\0z", 2) + "\r\n" + std::string("a\0b\0", 4) +
                    "\r\n";
         }},
        {"a lone CR ends a line too",
         [&](const Stamp& s) { return "old, 1\r" + line(s, 3) + "\rlast"; },
         [&](const Stamp& s) { return line(s, 3) + "\r\nlast\r\n"; }},
        {"an empty file stays empty", [](const Stamp&) { return std::string(); },
         [](const Stamp&) { return std::string(); }},
    };

    SimFixture sim;
    std::vector<std::string> results;
    std::vector<std::string> expected;
    sim.At(5000, [&](TForm1& f) {
        const std::int64_t now = sim.machine->Time();
        Stamp stamp = [now](std::int64_t age) { return std::to_string(now - age); };
        for (const TrimCase& c : cases) {
            sim.WriteProgramFile(kLog, c.before(stamp));
            f.TrimLogFile();
            results.push_back(sim.ReadProgramFile(kLog));
            expected.push_back(c.after(stamp));
            EXPECT_FALSE(sim.ProgramFileExists("log.tmp")) << c.what;
        }
    });
    sim.RunFor(6000);
    ASSERT_EQ(results.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(results[i], expected[i]) << cases[i].what;
}

// A file that cannot be rewritten raises the file error; the old file stays whole and no
// temporary file is left, whether the log itself or its whole folder refuses writes.
TEST(ReadingLog, FailedTrimRaisesAndKeepsTheOldFile) {
    SimFixture sim;
    const std::string old = "old, 5\r\nolder, 4\r\n";
    std::vector<std::string> errors;
    sim.At(5000, [&](TForm1& f) {
        for (const std::string& locked :
             {SimFixture::ProgramPath(kLog), std::string(SimFixture::kProgramFolder)}) {
            sim.WriteProgramFile(kLog, old);
            sim.machine->SetReadOnly(locked, true);
            try {
                f.TrimLogFile();
                ADD_FAILURE() << "no error with " << locked << " read-only";
            } catch (const ui::Exception& e) {
                errors.push_back(e.Message());
            }
            sim.machine->SetReadOnly(locked, false);
            EXPECT_EQ(sim.ReadProgramFile(kLog), old);
            EXPECT_FALSE(sim.ProgramFileExists("log.tmp"));
        }
        // No file: nothing happens.
        ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath(kLog)));
        f.TrimLogFile();
        EXPECT_FALSE(sim.ProgramFileExists(kLog));
    });
    sim.RunFor(6000);
    const std::string text = "Cannot create file \"" + SimFixture::ProgramPath(kLog) + "\"";
    EXPECT_EQ(errors, (std::vector<std::string>{text, text}));
}

// Large logs: the trim holds at most a small multiple of the file's size at once, allocates no
// block per line, and copies nothing per line (so it cannot examine a long line once per line
// of the file, which once took seconds for the long first line below).
TEST(ReadingLog, TrimMemoryAndCopyingGrowWithTheFileOnly) {
    struct LargeCase {
        const char* what;
        std::function<std::string(const std::string& recent)> before;
        std::function<std::string(const std::string& recent, const std::string& before)> after;
    };
    auto repeat = [](const std::string& line, std::size_t times) {
        std::string text;
        text.reserve(line.size() * times);
        for (std::size_t i = 0; i < times; ++i)
            text += line;
        return text;
    };
    const std::vector<LargeCase> cases = {
        {"a time stamp and 1 MiB of text, then 20,000 recent lines: nothing goes",
         [&](const std::string& recent) {
             return recent + " " + std::string(1 << 20, 'x') + "\r\n" +
                    repeat("a - CPU FAN:2700, " + recent + "\r\n", 20000);
         },
         [](const std::string&, const std::string& before) { return before; }},
        {"4 MB of bare line feeds: every line goes",
         [](const std::string&) { return std::string(4000000, '\n'); },
         [](const std::string&, const std::string&) { return std::string(); }},
        {"100,000 old lines above 10 recent ones",
         [&](const std::string& recent) {
             return repeat("a - CPU FAN:2700, 1000\r\n", 100000) +
                    repeat("a - CPU FAN:2700, " + recent + "\r\n", 10);
         },
         [&](const std::string& recent, const std::string&) {
             return repeat("a - CPU FAN:2700, " + recent + "\r\n", 10);
         }},
        {"100,000 recent lines ending in LF alone get CR LF",
         [&](const std::string& recent) { return repeat("a, " + recent + "\n", 100000); },
         [&](const std::string& recent, const std::string&) {
             return repeat("a, " + recent + "\r\n", 100000);
         }},
    };

    SimFixture sim;
    sim.At(5000, [&](TForm1& f) {
        const std::string recent = std::to_string(sim.machine->Time() - 10);
        ASSERT_EQ(recent.size(), 10u);
        for (const LargeCase& c : cases) {
            const std::string before = c.before(recent);
            sim.WriteProgramFile(kLog, before);
            allocation_counter::Totals totals;
            {
                allocation_counter::Measurement measure;
                f.TrimLogFile();
                totals = measure.Result();
            }
            EXPECT_EQ(sim.ReadProgramFile(kLog), c.after(recent, before)) << c.what;
            const std::size_t slack = 1 << 16;
            EXPECT_LE(totals.peak, 3 * before.size() + slack) << c.what;
            EXPECT_LE(totals.bytes, 4 * before.size() + slack) << c.what;
            EXPECT_LE(totals.allocations, 500u) << c.what;
        }
    });
    sim.RunFor(6000);
}

// A folder that refuses new files cannot take log.tmp: the trim rewrites log.txt in place, and
// start-up goes on as it would have with the plain rewrite.
TEST(ReadingLog, TrimRewritesInPlaceWhenTheFolderRefusesNewFiles) {
    SimFixture sim;
    const std::string recent = std::to_string(sim.machine->Time() - 10);
    sim.WriteProgramFile(kLog, "old, 1\r\n*note\r\nnew, " + recent + "\nlast, 1\r\n");
    sim.machine->SetRefusesNewFiles(SimFixture::kProgramFolder, true);
    std::string atStart;
    sim.At(1, [&](TForm1&) { atStart = sim.ReadProgramFile(kLog); });
    sim.RunFor(5000);
    EXPECT_TRUE(sim.Messages().empty());
    EXPECT_EQ(atStart, "new, " + recent + "\r\nlast, 1\r\n");
    EXPECT_FALSE(sim.ProgramFileExists("log.tmp"));
}

// The hourly trim runs from the window's creation; its error is shown in the exception box and
// the timer goes on to the next hour.
TEST(ReadingLog, HourlyTrimRemovesLinesThatAgedAndShowsItsError) {
    SimFixture sim;
    sim.WriteProgramFile("A920.INI", BoardIniWith({{"VALUE=3000", "VALUE=10000"}}));
    const std::string path = SimFixture::ProgramPath(kLog);
    std::string atStart;
    // At 10 s: a line that turns older than a day ten minutes later, then a comment line.
    sim.At(10000, [&](TForm1&) {
        const std::int64_t stamp = sim.machine->Time() - 86400 + 600;
        sim.WriteProgramFile(kLog, "x, " + std::to_string(stamp) + "\r\n*comment\r\n");
    });
    sim.At(3590000, [&](TForm1&) { atStart = sim.ReadProgramFile(kLog); });
    sim.At(3610000, [&](TForm1&) {
        EXPECT_EQ(sim.ReadProgramFile(kLog), "");
        EXPECT_TRUE(sim.Messages().empty());
        sim.WriteProgramFile(kLog, "old, 1\r\n");
        sim.machine->SetReadOnly(path, true);
    });
    sim.RunFor(3 * 3600000 + 10000);
    EXPECT_NE(atStart.find("*comment"), std::string::npos);
    const std::string box = "Cannot create file \"" + path + "\"";
    EXPECT_EQ(sim.Messages(), (std::vector<std::string>{box, box}));
    EXPECT_EQ(sim.ReadProgramFile(kLog), "old, 1\r\n");
}

// The trim at start-up that cannot rewrite the log ends the program with the exception box,
// before start-up completes: nothing is saved.
TEST(ReadingLog, FailedTrimAtStartEndsTheProgram) {
    SimFixture sim;
    sim.WriteProgramFile(kLog, "old, 1\r\n");
    sim.machine->SetReadOnly(SimFixture::ProgramPath(kLog), true);
    const std::string iniBefore = sim.ReadProgramFile("A920.INI");
    EXPECT_EQ(sim.RunFor(5000), 0);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Cannot create file \"" +
                                                       SimFixture::ProgramPath(kLog) + "\""});
    EXPECT_EQ(sim.ReadProgramFile(kLog), "old, 1\r\n");
    for (const std::string& write : sim.IniWrites("A920.INI"))
        EXPECT_EQ(write.find("CPUTOP80"), std::string::npos) << "saved: " << write;
}

TEST(ReadingLog, ViewButtonOpensTheLogThroughTheShell) {
    SimFixture sim;
    sim.At(2000, [](TForm1& f) { f.BtnViewLogFile.UserClick(); });
    sim.RunFor(3000);
    ASSERT_EQ(sim.machine->shellCalls.size(), 1u);
    const os::sim::ShellCall& call = sim.machine->shellCalls[0];
    EXPECT_EQ(call.verb, "Open");
    EXPECT_EQ(call.file, SimFixture::ProgramPath(kLog));
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, 1);
}

} // namespace

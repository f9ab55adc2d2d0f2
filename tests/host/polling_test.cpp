// The polling tick on the simulated machine: the sensor request, the three passes with their
// colours, texts and alarms, the warning close, the re-entered tick under the warning window,
// the POST-code report, the digit display and the fan animation.
#include "SimFixture.h"

#include "monitor/Driver.h"
#include "monitor/WarningForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kDeg = "\xB0";

// What five digit images show, as "RED0 RED2 RED9 RED9 RED4".
std::string Shown(const TForm1::FanRow& row) {
    std::string text;
    for (ui::TImage* image : row.Digits)
        text += (text.empty() ? "" : " ") + image->Picture().source;
    return text;
}
std::string Digits(const std::string& colour, const std::string& five) {
    std::string text;
    for (char c : five)
        text += (text.empty() ? "" : " ") + colour + c;
    return text;
}

// The chip 0x60 has signed temperatures and fan divisors.
void UseChip60(BoardState& board) {
    board.chip_id = 0x60;
    for (auto& divisor : board.fan_divisor)
        divisor = 2;
}

struct Polling : ::testing::Test {
    SimFixture sim;

    void UseIni(const std::vector<IniKey>& keys) {
        sim.WriteProgramFile("A920.INI", ScenarioBoardIni(keys));
    }
    // The ticks' sensor reads (the start-up reads ask for the chip id).
    std::vector<os::sim::DriverRequest> TickReads() const {
        std::vector<os::sim::DriverRequest> reads;
        for (const auto& r : sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS))
            if (r.input.at(0) == 0) reads.push_back(r);
        return reads;
    }
    // Milliseconds since the first run started.
    std::uint32_t RunMs(const os::sim::DriverRequest& r) const {
        return r.time - sim.machine->Config().startTick;
    }
    monitor::TFormWarning& Warning(TForm1& f) { return *f.Program().FormWarning; }
};

// --- the request ------------------------------------------------------------------------------

struct RequestCase {
    const char* what;
    bool chip92;
    std::vector<std::uint8_t> request;
};

class TickRequest : public Polling, public ::testing::WithParamInterface<RequestCase> {};

// Fan 1, temperature 2 and voltages 3 and 8 are disabled: their bytes stay 0, and only chip
// 0x92 asks for the high count bits. The first tick comes 100 ms after the activation, then
// one every interval.
TEST_P(TickRequest, AsksForTheEnabledChannelsOnceAnInterval) {
    const RequestCase& c = GetParam();
    UseIni({{"FAN1", "ENABLED", "0"},
            {"TEMP2", "ENABLED", "0"},
            {"VIN3", "ENABLED", "0"},
            {"VIN8", "ENABLED", "0"}});
    if (!c.chip92) UseChip60(sim.machine->Board());
    sim.RunFor(3500, [](MonitorProgram& p) { EXPECT_EQ(p.Form1->Timer1.Interval(), 1000u); });

    std::vector<os::sim::DriverRequest> reads = TickReads();
    ASSERT_EQ(reads.size(), 4u);
    for (size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(RunMs(reads[i]), 100 + 1000 * i);
        EXPECT_EQ(reads[i].input, c.request);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chips, TickRequest,
    ::testing::Values(
        RequestCase{"chip92", true, {0, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0}},
        RequestCase{"chip60", false, {0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0}}),
    [](const auto& info) { return std::string(info.param.what); });

// --- the three passes -------------------------------------------------------------------------

struct PassCase {
    const char* what;
    std::vector<IniKey> keys;
    std::function<void(BoardState&)> board;
    std::string alarm; // the alarm's key after the ticks, "" for none
    std::function<void(TForm1&)> check;
};
std::ostream& operator<<(std::ostream& os, const PassCase& c) {
    return os << c.what;
}

class Pass : public Polling, public ::testing::WithParamInterface<PassCase> {};

// Two ticks with the action "Ignore", so that an alarm leaves its key and nothing waits.
TEST_P(Pass, ShowsComparesAndAlarms) {
    const PassCase& c = GetParam();
    std::vector<IniKey> keys = c.keys;
    keys.push_back({"SYSTEM", "Action when exceed the limitations", "Ignore"});
    UseIni(keys);
    if (c.board) c.board(sim.machine->Board());
    bool reached = false;
    sim.RunFor(1500, [&](MonitorProgram& p) {
        EXPECT_EQ(p.AlarmChannel, c.alarm);
        c.check(*p.Form1);
        reached = true;
    });
    EXPECT_TRUE(reached);
}

std::vector<IniKey> With(std::vector<IniKey> a, const std::vector<IniKey>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Channels, Pass,
    ::testing::Values(
        PassCase{"FanAtItsLowLimitIsGreen", Monitored("FAN0", 3000, 6000),
                 [](BoardState& b) { SetFanCount92(b, 0, 500); }, "",
                 [](TForm1& f) {
                     EXPECT_EQ(Shown(f.ChannelRows.Fan[0]), Digits("GREEN", "03000"));
                     EXPECT_TRUE(f.Program().FanSpinning[0]);
                 }},
        PassCase{
            "FanAtItsHighLimitIsGreen", Monitored("FAN0", 3000, 6000),
            [](BoardState& b) { SetFanCount92(b, 0, 250); }, "",
            [](TForm1& f) { EXPECT_EQ(Shown(f.ChannelRows.Fan[0]), Digits("GREEN", "06000")); }},
        PassCase{"SlowFanIsRedAndAlarms", Monitored("FAN1", 3000, 6000),
                 [](BoardState& b) { SetFanCount92(b, 1, 501); }, "fan1",
                 [](TForm1& f) { EXPECT_EQ(Shown(f.ChannelRows.Fan[1]), Digits("RED", "02994")); }},
        PassCase{"StoppedFanShowsRedZerosAndStopsTurning", Monitored("FAN0", 3000, 6000),
                 [](BoardState& b) { StopFan92(b, 0); }, "fan0",
                 [](TForm1& f) {
                     EXPECT_EQ(Shown(f.ChannelRows.Fan[0]), Digits("RED", "00000"));
                     EXPECT_FALSE(f.Program().FanSpinning[0]);
                     EXPECT_TRUE(f.Program().FanSpinning[1]);
                 }},
        PassCase{"SixDigitSpeedKeepsTheDigitsButAlarms", Monitored("FAN0", 3000, 6000),
                 [](BoardState& b) { SetFanCount92(b, 0, 12); }, "fan0",
                 [](TForm1& f) {
                     EXPECT_EQ(f.Settings.Fan[0].Value, 125000u);
                     EXPECT_EQ(Shown(f.ChannelRows.Fan[0]), Digits("GREEN", "00000"));
                 }},
        PassCase{"UnmonitoredStoppedFanIsGreen",
                 {},
                 [](BoardState& b) { StopFan92(b, 2); },
                 "",
                 [](TForm1& f) {
                     EXPECT_EQ(Shown(f.ChannelRows.Fan[2]), Digits("GREEN", "00000"));
                     EXPECT_FALSE(f.Program().FanSpinning[2]);
                 }},
        PassCase{"DisabledFanIsNotShownButStopsTurning",
                 {{"FAN2", "ENABLED", "0"}},
                 {},
                 "",
                 [](TForm1& f) {
                     EXPECT_EQ(f.Image11.Picture().source, "");
                     EXPECT_FALSE(f.Program().FanSpinning[2]);
                 }},
        PassCase{"NegativeTemperatureIsBelowZeroSigned", Monitored("TEMP1", 0, 100),
                 [](BoardState& b) {
                     UseChip60(b);
                     b.temperature[1] = 0xFB;
                 },
                 "temp1",
                 [](TForm1& f) {
                     EXPECT_EQ(f.EditTemp1.Font().Color, ui::clRed);
                     EXPECT_EQ(f.EditTemp1.Text(), "-5" + kDeg + "C/23" + kDeg + "F");
                 }},
        PassCase{"TemperatureAtItsLimitIsLime", Monitored("TEMP1", 0, 100),
                 [](BoardState& b) {
                     UseChip60(b);
                     b.temperature[1] = 0;
                 },
                 "",
                 [](TForm1& f) {
                     EXPECT_EQ(f.EditTemp1.Font().Color, ui::clLime);
                     EXPECT_EQ(f.EditTemp1.Text(), "0" + kDeg + "C/32" + kDeg + "F");
                 }},
        PassCase{"TemperatureWithoutReadingIsGrayAndRaisesNothing", Monitored("TEMP1", 0, 100),
                 [](BoardState& b) {
                     UseChip60(b);
                     b.temperature[1] = 0x80;
                 },
                 "",
                 [](TForm1& f) {
                     EXPECT_EQ(f.EditTemp1.Font().Color, ui::clGray);
                     EXPECT_EQ(f.EditTemp1.Text(), "N/A");
                 }},
        PassCase{"HighVoltageIsRedAndAlarms",
                 Monitored("VIN0", 1500, 1700),
                 {},
                 "vin0",
                 [](TForm1& f) {
                     EXPECT_EQ(f.EditVIN0.Font().Color, ui::clRed);
                     EXPECT_EQ(f.EditVIN0.Text(), "1.792 V");
                 }},
        PassCase{"NegativeRailComparesItsMagnitude",
                 With(Monitored("VIN2", 1000, 2000), {{"VIN2", "SYMBOL", "-"}}),
                 {},
                 "",
                 [](TForm1& f) {
                     EXPECT_EQ(f.EditVIN2.Font().Color, ui::clLime);
                     EXPECT_EQ(f.EditVIN2.Text(), "-1.792 V");
                 }}),
    [](const auto& info) { return std::string(info.param.what); });

// --- the warning close ------------------------------------------------------------------------

struct CloseCase {
    const char* what;
    std::vector<IniKey> keys;
    std::function<void(BoardState&)> start;
    std::function<void(TForm1&, BoardState&)> change; // at 1.5 s, with the window shown
    bool closes;
};
std::ostream& operator<<(std::ostream& os, const CloseCase& c) {
    return os << c.what;
}

class Close : public Polling, public ::testing::WithParamInterface<CloseCase> {};

// The first tick shows the warning window ("Ask Me"); the first nested tick after the change
// closes it, or nothing does.
TEST_P(Close, EndsTheWarningWhenTheChannelNoLongerAlarms) {
    const CloseCase& c = GetParam();
    UseIni(c.keys);
    c.start(sim.machine->Board());
    sim.At(1500, [&](TForm1& f) {
        ASSERT_TRUE(Warning(f).Visible());
        c.change(f, sim.machine->Board());
    });
    bool reached = false;
    sim.RunFor(2500, [&](MonitorProgram& p) {
        EXPECT_EQ(Warning(*p.Form1).Visible(), !c.closes);
        if (c.closes) {
            EXPECT_EQ(p.AlarmChannel, "");
        }
        reached = true;
    });
    EXPECT_TRUE(reached);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Close,
    ::testing::Values(
        CloseCase{"FanBackInRange", Monitored("FAN0", 3000, 9000),
                  [](BoardState& b) { StopFan92(b, 0); },
                  [](TForm1&, BoardState& b) { SetFanCount92(b, 0, 250); }, true},
        CloseCase{"ChannelNoLongerMonitored", Monitored("FAN0", 3000, 9000),
                  [](BoardState& b) { StopFan92(b, 0); },
                  [](TForm1& f, BoardState&) { f.CheckBoxFan0.UserClick(); }, true},
        CloseCase{"TemperatureWithoutReading", Monitored("TEMP1", 0, 100),
                  [](BoardState& b) {
                      UseChip60(b);
                      b.temperature[1] = 0xFB;
                  },
                  [](TForm1&, BoardState& b) { b.temperature[1] = 0x80; }, true},
        // Only the alarm's own channel closes the window, and a disabled one is never looked at.
        CloseCase{"DisabledChannelNeverCloses",
                  With(Monitored("FAN0", 3000, 9000), {{"VIN8", "ENABLED", "0"}}),
                  [](BoardState& b) { StopFan92(b, 0); },
                  [](TForm1& f, BoardState& b) {
                      f.Program().AlarmChannel = "vin8";
                      SetFanCount92(b, 0, 250);
                  },
                  false}),
    [](const auto& info) { return std::string(info.param.what); });

// --- the tick re-entered under the warning window -----------------------------------------------

// Fans 0 and 1 stop, temperature 1 stays too hot. The first tick's fan-0 alarm shows the
// window; the nested ticks drop their alarms; when both fans spin again the nested tick closes
// the window, and the interrupted tick goes on with fan 1 as the nested tick left it (in range:
// no alarm) and then alarms for temperature 1, which shows the window again.
TEST_F(Polling, InterruptedTickResumesWithTheLatestReadings) {
    UseIni(With(With(Monitored("FAN0", 3000, 9000), Monitored("FAN1", 3000, 9000)),
                Monitored("TEMP1", 0, 40)));
    StopFan92(sim.machine->Board(), 0);
    StopFan92(sim.machine->Board(), 1);
    sim.machine->BoardScript = [](BoardState& b, std::uint32_t ms) {
        if (ms >= 2000) {
            SetFanCount92(b, 0, 250);
            SetFanCount92(b, 1, 250);
        }
    };
    std::vector<std::string> seen; // alarm channel and log entries whenever the window shows
    bool spinningAtSecondShowing = false;
    sim.platform->When(
        [&] { return sim.Form1() && sim.Form1()->Program().AlarmChannel == "temp1"; },
        [&] {
            spinningAtSecondShowing = sim.Form1()->Program().FanSpinning[1];
            EXPECT_TRUE(Warning(*sim.Form1()).Visible());
        });
    sim.At(1500, [&](TForm1& f) { seen.push_back(f.Program().AlarmChannel); });
    sim.RunFor(4000, [&](MonitorProgram& p) {
        EXPECT_EQ(p.AlarmChannel, "temp1");
        EXPECT_TRUE(Warning(*p.Form1).Visible());
        EXPECT_EQ(Warning(*p.Form1).LabelMsg.Caption(),
                  "Your 'System' Temperature exceed the limit");
    });
    EXPECT_EQ(seen, std::vector<std::string>{"fan0"});
    EXPECT_TRUE(spinningAtSecondShowing);
    // The exit message ended the second showing; each showing logged once.
    std::string log = sim.ReadProgramFile("log.txt");
    EXPECT_EQ(
        LinesContaining(log, "exceed the limit"),
        (std::vector<std::string>{
            "Your 'CPU FAN' Speed exceed the limit , Action when exceed the limitations: Ask Me",
            "Your 'System' Temperature exceed the limit , Action when exceed the "
            "limitations: Ask Me"}));
}

// --- the POST-code report ---------------------------------------------------------------------

struct PostCase {
    const char* what;
    std::vector<IniKey> keys;
    std::uint8_t raw; // the CPU channel's byte on chip 0x60
    int reports;      // in three ticks
    std::uint32_t value;
};

class PostCode : public Polling, public ::testing::WithParamInterface<PostCase> {};

// The CPU temperature's decimal digits go out as a hexadecimal number, once a tick.
TEST_P(PostCode, ReportsTheCpuTemperatureEveryTick) {
    const PostCase& c = GetParam();
    UseIni(c.keys);
    UseChip60(sim.machine->Board());
    sim.machine->Board().temperature[0] = c.raw;
    sim.RunFor(2500);
    auto reports = sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_WRITE_P80);
    ASSERT_EQ(reports.size(), static_cast<size_t>(c.reports));
    if (reports.empty()) return;
    const std::vector<std::uint8_t>& in = reports.back().input;
    ASSERT_EQ(in.size(), 16u);
    EXPECT_EQ(in[4] | in[5] << 8, 0x0C81); // the PCI dword read at start
    EXPECT_EQ(std::uint32_t(in[12] | in[13] << 8 | in[14] << 16 | in[15] << 24), c.value);
}

const std::vector<IniKey> kReport = {{"SYSTEM", "CPUTOP80", "1"}};

INSTANTIATE_TEST_SUITE_P(Values, PostCode,
                         ::testing::Values(PostCase{"Nine", kReport, 9, 3, 0x9},
                                           PostCase{"FortyFive", kReport, 45, 3, 0x45},
                                           PostCase{"Hundred", kReport, 100, 3, 0x100},
                                           PostCase{"NoReading", kReport, 0x80, 3, 0x256},
                                           PostCase{"BoxUnchecked", {}, 45, 0, 0},
                                           PostCase{"CpuChannelDisabled",
                                                    With(kReport, {{"TEMP0", "ENABLED", "0"}}), 45,
                                                    0, 0}),
                         [](const auto& info) { return std::string(info.param.what); });

// --- digits and animation ---------------------------------------------------------------------

// Five digits with leading zeros; a wider value leaves them; only "red" and "RED" are red.
TEST_F(Polling, DigitDisplayEdgeCases) {
    UseIni({{"FAN0", "ENABLED", "0"}});
    sim.RunFor(500, [](MonitorProgram& p) {
        TForm1& f = *p.Form1;
        const TForm1::FanRow& row = f.ChannelRows.Fan[0];
        f.ShowLedNumber("red", 99999, row.Digits);
        EXPECT_EQ(Shown(row), Digits("RED", "99999"));
        int repaints = f.Image1.RepaintCount();
        f.ShowLedNumber("green", 100000, row.Digits);
        EXPECT_EQ(Shown(row), Digits("RED", "99999"));
        EXPECT_EQ(f.Image1.RepaintCount(), repaints);
        f.ShowLedNumber("Red", 2500, row.Digits);
        EXPECT_EQ(Shown(row), Digits("GREEN", "02500"));
        EXPECT_EQ(f.Image1.RepaintCount(), repaints + 1);
        f.ShowLedNumber("RED", 0, row.Digits);
        EXPECT_EQ(Shown(row), Digits("RED", "00000"));
    });
}

// A fan whose reading drops to 0 gets no more animation passes; the others keep turning.
TEST_F(Polling, StoppedFanStopsTurningAtTheNextAnimationTick) {
    UseIni({});
    sim.machine->BoardScript = [](BoardState& b, std::uint32_t ms) {
        if (ms >= 1500) StopFan92(b, 0);
    };
    int fan0AfterStop = 0, fan1AfterStop = 0;
    sim.At(2200, [&](TForm1& f) {
        fan0AfterStop = f.AnimateFan0.PlayCount();
        fan1AfterStop = f.AnimateFan1.PlayCount();
        EXPECT_EQ(Shown(f.ChannelRows.Fan[0]), Digits("GREEN", "00000"));
    });
    sim.RunFor(5000, [&](MonitorProgram& p) {
        EXPECT_GT(fan0AfterStop, 0);
        EXPECT_EQ(p.Form1->AnimateFan0.PlayCount(), fan0AfterStop);
        EXPECT_GE(p.Form1->AnimateFan1.PlayCount(), fan1AfterStop + 5);
        EXPECT_EQ(p.Form1->AnimateFan1.LastFromFrame(), 1);
        EXPECT_EQ(p.Form1->AnimateFan1.CurrentFrame(), 6);
    });
}

} // namespace

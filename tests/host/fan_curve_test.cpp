// The fan curve (its six bands, its flat form and its labels) and the polling tick's refresh,
// which learns a faster full speed and costs four register reads while the fan is not faster.
#include "SmartFanFixture.h"

#include "monitor/DutyCycleForm.h"

#include <gtest/gtest.h>

using monitor::TForm1;

namespace {

struct FanCurve : ::testing::Test {
    SmartFanSim sim;
    std::vector<ui::TChartPoint> curve;

    // Draws the curve with the mainboard set's points (By Temperature) at 3 s.
    void Draw(int low, int mid, int full, int item = 2) {
        sim.UseIni({{"FINTEK", "ENABLED", "4"}});
        sim.At(3000, [=](TForm1& f) {
            f.upFullTemp1.SetPosition(full);
            f.upMidTemp1.SetPosition(mid);
            f.upLowTemp1.SetPosition(low);
            f.cbSmartFanFunction.SetItemIndex(item);
            f.DrawFanCurve(3000, 1800, 900);
            curve = f.Series1.Points();
        });
        sim.RunFor(4000);
        ASSERT_EQ(curve.size(), 131u);
    }
    double At(int t) const { return curve.at(static_cast<std::size_t>(t)).y; }
};

TEST_F(FanCurve, SixBandsOverTheThreePoints) {
    Draw(20, 40, 60);
    for (int t = 0; t <= 130; ++t) {
        double expected = t < 20   ? 0
                          : t < 30 ? 900
                          : t < 40 ? 1350
                          : t < 50 ? 1800
                          : t < 60 ? 2400
                                   : 3000;
        EXPECT_EQ(At(t), expected) << t;
        EXPECT_EQ(curve[static_cast<std::size_t>(t)].x, t);
        EXPECT_EQ(curve[static_cast<std::size_t>(t)].color, ui::clRed);
    }
    EXPECT_EQ(curve[37].label, "37\xB0"
                               "C/98\xB0"
                               "F");
}

TEST_F(FanCurve, HalvesOfTheTemperaturesAreTruncated) {
    Draw(25, 40, 60);
    EXPECT_EQ(At(31), 900); // (25 + 40) / 2 = 32
    EXPECT_EQ(At(32), 1350);
    EXPECT_EQ(At(49), 1800); // (40 + 60) / 2 = 50
    EXPECT_EQ(At(50), 2400);
}

TEST_F(FanCurve, WithoutTemperatureModeTheCurveIsFlat) {
    Draw(20, 40, 60, 0);
    for (int t = 0; t <= 130; ++t)
        EXPECT_EQ(At(t), 3000) << t;
}

TEST(FanCurveLabels, EastAsianLanguagesUseTheDoubleByteSigns) {
    SmartFanSim sim;
    sim.machine->Config().lcid = 0x0404; // Chinese (Taiwan)
    sim.UseIni({{"FINTEK", "ENABLED", "4"}});
    std::string label;
    sim.At(3000, [&](TForm1& f) {
        f.DrawFanCurve(3000, 1800, 900);
        label = f.Series1.Points().at(37).label;
    });
    sim.RunFor(4000);
    EXPECT_EQ(label, "37\xA2J/98\xA2K");
}

// --- the tick refresh ----------------------------------------------------------------------------

struct Refresh : ::testing::Test {
    SmartFanSim sim;
    // The stored full-speed count 0x3E8 (1500 RPM); the fan at full speed runs that fast until
    // `fasterAtMs`, then at 1612 RPM (count 0x3A2).
    void Script(std::uint32_t fasterAtMs, unsigned long fasterRpm = 1612) {
        sim.SetRegisters({{0x60, 0x00}, {0x0A, 0x03}, {0x0B, 0xE8}});
        sim.machine->Board().fan_max_rpm = 1500;
        sim.machine->BoardScript = [=](BoardState& board, std::uint32_t elapsed) {
            if (elapsed >= fasterAtMs) board.fan_max_rpm = fasterRpm;
        };
    }
};

const std::vector<IniKey> kControls = {{"FINTEK", "ENABLED", "4"},
                                       {"FINTEK", "FullControl", "100"},
                                       {"FINTEK", "MidControl", "90"},
                                       {"FINTEK", "LowControl", "20"}};

TEST_F(Refresh, LearnsAFasterFullSpeed) {
    sim.UseIni(kControls);
    Script(5000);
    std::size_t mark = 0;
    sim.At(4000, [&](TForm1& f) {
        f.cbSmartFanFunction.SetItemIndex(0);
        mark = sim.Mark();
    });
    sim.RunFor(9000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.FullSpeedRpm, 1612);
        EXPECT_EQ(p.frmDutyCycleForm->FullSpeedRpm(), 1612);
        EXPECT_EQ(f.upMidControl1.Position(), 90);
        EXPECT_EQ(f.upLowControl1.Position(), 30);
        EXPECT_EQ(f.txtFullControl1.Text(), "100 %");
        EXPECT_EQ(f.txtTemp1Control1.Text(), "95 %");
        EXPECT_EQ(f.txtTemp2Control1.Text(), "60 %");
        EXPECT_EQ(f.txtFullSpeed1.Text(), "1612");
        EXPECT_EQ(f.txtMidSpeed1.Text(), "1450");
        EXPECT_EQ(f.txtLowSpeed1.Text(), "483");
        EXPECT_EQ(f.txtTemp1Speed1.Text(), "1531");
        EXPECT_EQ(f.Chart1.LeftAxis.Maximum(), 2112);
        // Not by temperature: flat at 1500000 / 0x3A2.
        ASSERT_EQ(f.Series1.Count(), 131);
        EXPECT_EQ(f.Series1.Points()[0].y, 1612);
        EXPECT_EQ(f.Series1.Points()[130].y, 1612);
    });
    // The raw bytes of 0x20 and 0x21, once; nothing else (no point counts out of this mode).
    EXPECT_EQ(Hex(sim.Writes(mark)), "0A=03 0B=A2");
}

TEST_F(Refresh, ByTemperatureItAlsoWritesThePointCounts) {
    sim.UseIni(kControls);
    Script(5000);
    std::size_t mark = 0;
    sim.At(4000, [&](TForm1& f) {
        f.upFullTemp1.SetPosition(70);
        f.upMidTemp1.SetPosition(50);
        f.upLowTemp1.SetPosition(30);
        f.cbSmartFanFunction.SetItemIndex(2);
        mark = sim.Mark();
    });
    sim.RunFor(9000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        ASSERT_EQ(f.Series1.Count(), 131);
        EXPECT_EQ(f.Series1.Points()[29].y, 0);
        EXPECT_EQ(f.Series1.Points()[30].y, 483);
        EXPECT_EQ(f.Series1.Points()[70].y, 1612);
    });
    // Counts of 1612, 1450 and 483 RPM: 930, 1034, 3105.
    EXPECT_EQ(Hex(sim.Writes(mark)), "0A=03 0B=A2 A4=03 A5=A2 A6=04 A7=0A A8=0C A9=21");
}

TEST_F(Refresh, WhileTheFanIsNotFasterATickCostsFourReads) {
    sim.UseIni(kControls);
    Script(1000000);
    std::size_t mark = 0;
    std::size_t fintek = 0;
    std::size_t ticksAtMark = 0;
    auto ticks = [&] { return sim.machine->RequestsWithCode(0x22200C).size(); };
    sim.At(4000, [&](TForm1&) {
        mark = sim.Mark();
        fintek = sim.FintekWrites();
        ticksAtMark = ticks();
    });
    std::size_t ticksAtEnd = 0;
    std::vector<RegisterAccess> reads;
    std::size_t requests = 0;
    sim.RunFor(10000, [&](monitor::MonitorProgram&) {
        ticksAtEnd = ticks();
        reads = sim.Reads(mark);
        requests = sim.machine->DriverRequests().size() - mark;
    });
    std::size_t tickCount = ticksAtEnd - ticksAtMark;
    ASSERT_GE(tickCount, 5u);
    EXPECT_EQ(requests, tickCount * 5); // the sensor read and four register reads
    ASSERT_EQ(reads.size(), tickCount * 4);
    for (std::size_t i = 0; i < reads.size(); ++i)
        EXPECT_EQ(reads[i].first, std::vector<int>({0x0A, 0x0B, 0x20, 0x21})[i % 4]);
    EXPECT_EQ(sim.FintekWrites(), fintek);
}

// A current count of 0 is no reading: nothing is written, learned or drawn.
TEST_F(Refresh, ACurrentCountOfZeroIsNoReading) {
    sim.UseIni(kControls);
    Script(5000, 3000000); // too fast to count: the chip reports 0
    std::size_t mark = 0;
    sim.At(4000, [&](TForm1& f) {
        f.FullSpeedRpm = 1500;
        f.Series1.Clear();
        mark = sim.Mark();
    });
    sim.RunFor(9000, [&](monitor::MonitorProgram& p) {
        EXPECT_EQ(p.Form1->FullSpeedRpm, 1500);
        EXPECT_EQ(p.Form1->Series1.Count(), 0);
    });
    EXPECT_EQ(Hex(sim.Writes(mark)), "");
    std::vector<RegisterAccess> reads = sim.Reads(mark);
    EXPECT_TRUE(std::any_of(reads.begin(), reads.end(),
                            [](RegisterAccess r) { return r.first == 0x21 && r.second == 0; }));
}

TEST_F(Refresh, AFailingReadShowsItsMessageAndTheTickGoesOn) {
    sim.UseIni(kControls);
    sim.At(4000, [&](TForm1&) { sim.machine->Board().fail_mask = 1ul << 6; });
    sim.At(4500, [&](TForm1&) { sim.machine->Board().fail_mask = 0; });
    std::size_t ticks = 0;
    sim.RunFor(8000, [&](monitor::MonitorProgram&) {
        ticks = sim.machine->RequestsWithCode(0x22200C).size();
    });
    ASSERT_FALSE(sim.Messages().empty());
    for (const std::string& text : sim.Messages())
        EXPECT_EQ(text, "IOCTL_MBDRVR_SMART_FAN_PRESTATE fail");
    EXPECT_GE(ticks, 5u);
}

// A chip whose register reads keep failing while nobody answers the boxes: each tick's failure
// would open a box inside the previous one's loop, without end (a tray program runs for weeks).
// A second box of the same failure is not stacked on an open one; once it is closed, the next
// failure shows again.
TEST_F(Refresh, AFailureThatPersistsDoesNotStackItsBoxes) {
    sim.UseIni(kControls);
    sim.platform->AnswerBoxes("IOCTL_MBDRVR_SMART_FAN_PRESTATE fail", ui::kIdOk, 20000);
    sim.At(4000, [&](TForm1&) { sim.machine->Board().fail_mask = 1ul << 6; });
    std::size_t ticks = 0;
    sim.RunFor(70000, [&](monitor::MonitorProgram&) {
        ticks = sim.machine->RequestsWithCode(0x22200C).size();
    });
    int open = 0, mostOpen = 0;
    for (const std::string& line : sim.machine->Transcript()) {
        if (line.find("message box [") != std::string::npos) mostOpen = std::max(mostOpen, ++open);
        if (line.find("message box answered") != std::string::npos) --open;
    }
    EXPECT_EQ(mostOpen, 1);
    EXPECT_GE(sim.Messages().size(), 3u); // shown again after each close
    EXPECT_GE(ticks, 20u);                // the polling goes on under the box
}

} // namespace

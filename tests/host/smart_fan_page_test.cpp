// The Smart Fan page: the change and click rules of both control sets with their bounds, the mode
// box, the manual duty, the page show, and a failing register request.
#include "SmartFanFixture.h"

#include "os/sim/ProfileText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using monitor::TForm1;

namespace {

const std::string kDeg = "\xB0";

// The set of the mini-PC boards; points 70/45/20 degrees, duties 90/70/40 %.
const std::vector<IniKey> kMiniPc = {
    {"SYSTEM", "MINIPC", "1"},      {"FINTEK", "ENABLED", "4"},    {"FINTEK", "FullTemp", "70"},
    {"FINTEK", "MidTemp", "45"},    {"FINTEK", "LowTemp", "20"},   {"FINTEK", "FullControl", "90"},
    {"FINTEK", "MidControl", "70"}, {"FINTEK", "LowControl", "40"}};
const std::vector<IniKey> kMainboard = {{"FINTEK", "ENABLED", "5"}};

struct SmartFanPage : ::testing::Test {
    SmartFanSim sim;
    // Runs `action` 3 s into a run of 5 s, and `check` at its end.
    void Run(std::function<void(TForm1&)> action, std::function<void(TForm1&)> check = {}) {
        sim.At(3000, std::move(action));
        sim.RunFor(5000, [&](monitor::MonitorProgram& p) {
            if (check) check(*p.Form1);
        });
    }
};

// --- bounds ------------------------------------------------------------------------------------

struct BoundCase {
    const char* what;
    ui::TUpDown TForm1::*updown;
    ui::TEdit TForm1::*edit;
    int position;
    bool up;
};

class ChangeBeyondABound : public SmartFanPage, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(ChangeBeyondABound, ChangesNothingAndWritesNothing) {
    const BoundCase& c = GetParam();
    sim.UseIni(kMiniPc);
    std::size_t mark = 0;
    std::size_t iniWrites = 0;
    std::string text;
    Run(
        [&](TForm1& f) {
            (f.*c.updown).SetPosition(c.position);
            ASSERT_EQ((f.*c.updown).Position(), c.position);
            mark = sim.Mark();
            iniWrites = sim.FintekWrites();
            text = (f.*c.edit).Text();
            (f.*c.updown).UserArrow(c.up);
        },
        [&](TForm1& f) {
            EXPECT_EQ((f.*c.updown).Position(), c.position);
            EXPECT_EQ((f.*c.edit).Text(), text);
        });
    EXPECT_EQ(Hex(sim.Writes(mark)), "");
    EXPECT_EQ(sim.FintekWrites(), iniWrites);
}

INSTANTIATE_TEST_SUITE_P(Bounds, ChangeBeyondABound,
                         ::testing::Values(BoundCase{"upMidTemp at 60, up", &TForm1::upMidTemp,
                                                     &TForm1::txtMidTemp, 60, true},
                                           BoundCase{"upLowControl at 30, down",
                                                     &TForm1::upLowControl, &TForm1::txtLowControl,
                                                     30, false},
                                           BoundCase{"upFullTemp1 at 100, up", &TForm1::upFullTemp1,
                                                     &TForm1::txtFullTemp1, 100, true},
                                           BoundCase{"upDutyCycle at 0, down", &TForm1::upDutyCycle,
                                                     &TForm1::txtDutyCycle, 0, false}));

// A value beyond the bound is taken when the up-down does not stand at that bound: the rule
// runs with the value and the up-down then holds its bound.
TEST_F(SmartFanPage, AValueBeyondARangeFromInsideItIsHeldToTheBound) {
    sim.UseIni(kMainboard);
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            f.upMidTemp1.SetPosition(45);
            mark = sim.Mark();
            f.upMidTemp1.SetPosition(70);
        },
        [&](TForm1& f) { EXPECT_EQ(f.upMidTemp1.Position(), 59); });
    EXPECT_EQ(sim.WritesOf(0xA1, mark), std::vector<int>{70});
}

// --- the mini-PC set ---------------------------------------------------------------------------

TEST_F(SmartFanPage, MiniPcArrowWritesTheMidPointTwiceAndSavesBetween) {
    sim.UseIni(kMiniPc);
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            f.upFullTemp.SetPosition(70);
            f.upMidTemp.SetPosition(45);
            mark = sim.Mark();
            f.upMidTemp.UserArrow(true);
        },
        [&](TForm1& f) {
            EXPECT_EQ(f.upMidTemp.Position(), 46);
            EXPECT_EQ(f.txtMidTemp.Text(), "46" + kDeg + "C/114" + kDeg + "F");
            EXPECT_EQ(f.txtTemp1Temp.Text(), "58" + kDeg + "C/136" + kDeg + "F");
        });
    EXPECT_EQ(sim.WritesOf(0xA1, mark), (std::vector<int>{46, 46}));
    // The keys are saved after the change rule's write and before the click rule's.
    std::vector<std::string> order;
    for (const std::string& line : sim.machine->Transcript()) {
        if (line.find("driver 0x222020 in[A1 2E]") != std::string::npos) order.push_back("A1");
        if (line.find("[FINTEK] MidTemp=46") != std::string::npos) order.push_back("key");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"A1", "key", "A1"}));
    EXPECT_EQ(sim.LastFintek("FullTemp"), "70");
}

// The board-mode set converts all three duties; its click writes the point's count.
TEST_F(SmartFanPage, MiniPcDutyArrowWritesTheCountOfItsSpeed) {
    sim.UseIni(kMiniPc);
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            f.FullSpeedRpm = 3000;
            f.upFullControl.SetPosition(90);
            f.upMidControl.SetPosition(69);
            f.upLowControl.SetPosition(40);
            mark = sim.Mark();
            f.upMidControl.UserArrow(true);
        },
        [&](TForm1& f) {
            EXPECT_EQ(f.txtMidControl.Text(), "70 %");
            EXPECT_EQ(f.txtTemp1Control.Text(), "80 %");
            EXPECT_EQ(f.txtTemp2Control.Text(), "55 %");
            EXPECT_EQ(f.txtFullSpeed.Text(), "2700");
            EXPECT_EQ(f.txtTemp1Speed.Text(), "2400");
            EXPECT_EQ(f.txtMidSpeed.Text(), "2100");
            EXPECT_EQ(f.txtLowSpeed.Text(), "1200");
        });
    // 70 % of 3000 RPM: 2100 RPM, count 714 (0x2CA).
    EXPECT_EQ(Hex(sim.Writes(mark)), "A6=02 A7=CA");
    EXPECT_EQ(sim.LastFintek("MidControl"), "70");
    EXPECT_EQ(sim.LastFintek("FullControl"), "90");
}

// --- the mainboard set -------------------------------------------------------------------------

// Full speed 1500 RPM, duties 80 and 40 %, points 70, 50 and 30 degrees.
void SetMainboardPoints(TForm1& f) {
    f.FullSpeedRpm = 1500;
    f.upMidControl1.SetPosition(80);
    f.upLowControl1.SetPosition(40);
    f.upFullTemp1.SetPosition(70);
    f.upMidTemp1.SetPosition(50);
    f.upLowTemp1.SetPosition(30);
}

TEST_F(SmartFanPage, ByTemperatureProgramsTheModePointsAndCounts) {
    sim.UseIni(kMainboard);
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            SetMainboardPoints(f);
            f.cbSmartFanFunction.SetItemIndex(0);
            mark = sim.Mark();
            f.cbSmartFanFunction.UserSelect(2);
        },
        [&](TForm1& f) {
            EXPECT_FALSE(f.upDutyCycle.Visible());
            EXPECT_TRUE(f.upMidControl1.Enabled());
            EXPECT_EQ(f.Chart1.LeftAxis.Minimum(), 0);
            EXPECT_EQ(f.Chart1.LeftAxis.Maximum(), 2000);
            ASSERT_EQ(f.Series1.Count(), 131);
            EXPECT_EQ(f.Series1.Points()[30].y, 600);
            EXPECT_EQ(f.Series1.Points()[70].y, 1500);
        });
    EXPECT_EQ(Hex(sim.Writes(mark)),
              "60=01 6B=9D A0=46 A1=32 A2=1E A4=03 A5=E8 A6=04 A7=E2 A8=09 A9=C4");
    EXPECT_EQ(sim.LastFintek("ENABLED"), "5");
}

// The flat curve takes the full-speed count's two registers without the mask (a tick's refresh
// may then find the fan faster, so the curve is looked at right after the choice).
TEST_F(SmartFanPage, ByDutyCycleWithoutAStoredDutyWrites255AndNoPoints) {
    sim.UseIni(kMainboard);
    std::string writes;
    std::vector<ui::TChartPoint> curve;
    Run(
        [&](TForm1& f) {
            SetMainboardPoints(f);
            sim.SetRegisters({{0x0A, 0x13}, {0x0B, 0xE8}}); // 0x13E8: 294 RPM
            std::size_t mark = sim.Mark();
            f.cbSmartFanFunction.UserSelect(1);
            writes = Hex(sim.Writes(mark));
            curve = f.Series1.Points();
        },
        [&](TForm1& f) {
            EXPECT_TRUE(f.upDutyCycle.Visible());
            EXPECT_TRUE(f.txtDutyCycle.Visible());
            EXPECT_FALSE(f.upMidControl1.Enabled());
            EXPECT_FALSE(f.upFullTemp1.Enabled());
        });
    EXPECT_EQ(writes, "60=06 6B=FF A0=00 A1=00 A2=00 A4=00 A5=00 A6=FF A7=FF A8=FF A9=FF");
    ASSERT_EQ(curve.size(), 131u);
    EXPECT_EQ(curve[0].y, 294);
    EXPECT_EQ(curve[130].y, 294);
    EXPECT_EQ(sim.LastFintek("ENABLED"), "6");
}

TEST_F(SmartFanPage, FullSpeedWritesModeFourAndTheStoredDutyIsLeft) {
    sim.UseIni({{"FINTEK", "ENABLED", "4"}, {"FINTEK", "PWMDUTY", "77"}});
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            f.cbSmartFanFunction.SetItemIndex(2);
            mark = sim.Mark();
            f.cbSmartFanFunction.UserSelect(0);
        },
        [&](TForm1& f) { EXPECT_FALSE(f.upDutyCycle.Visible()); });
    EXPECT_EQ(Hex(sim.Writes(mark)).substr(0, 5), "60=04");
    EXPECT_TRUE(sim.WritesOf(0x6B, mark).empty());
    EXPECT_EQ(sim.LastFintek("ENABLED"), "4");
}

struct DutyCase {
    int percent, value;
};
class ManualDuty : public SmartFanPage, public ::testing::WithParamInterface<DutyCase> {};

TEST_P(ManualDuty, AnArrowWritesTheDutyRegisterAndTheKey) {
    const DutyCase c = GetParam();
    sim.UseIni({{"FINTEK", "ENABLED", "6"}});
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            f.upDutyCycle.SetPosition(c.percent - 1);
            mark = sim.Mark();
            f.upDutyCycle.UserArrow(true);
        },
        [&](TForm1& f) { EXPECT_EQ(f.txtDutyCycle.Text(), std::to_string(c.percent) + " %"); });
    EXPECT_EQ(sim.WritesOf(0x6B, mark), std::vector<int>{c.value});
    EXPECT_EQ(sim.LastFintek("PWMDUTY"), std::to_string(c.value));
}

INSTANTIATE_TEST_SUITE_P(Percent, ManualDuty,
                         ::testing::Values(DutyCase{20, 50}, DutyCase{40, 101}, DutyCase{60, 152},
                                           DutyCase{80, 203}, DutyCase{99, 252}));

TEST_F(SmartFanPage, MainboardArrowSavesTheSetWithFullControl100) {
    sim.UseIni(kMainboard);
    std::size_t mark = 0;
    Run(
        [&](TForm1& f) {
            SetMainboardPoints(f);
            f.cbSmartFanFunction.SetItemIndex(2);
            mark = sim.Mark();
            f.upMidControl1.UserArrow(true);
        },
        [&](TForm1& f) {
            EXPECT_EQ(f.txtMidControl1.Text(), "81 %");
            EXPECT_EQ(f.txtTemp1Control1.Text(), "90 %");
            EXPECT_EQ(f.txtMidSpeed1.Text(), "1215");
            EXPECT_EQ(f.txtTemp1Speed1.Text(), "1357");
            // The curve of the new duty: Mid from 50 degrees.
            EXPECT_EQ(f.Series1.Points()[55].y, 1215);
        });
    // 81 % of 1500 RPM: 1215 RPM, count 1234 (0x4D2).
    EXPECT_EQ(Hex(sim.Writes(mark)), "A6=04 A7=D2");
    for (auto [key, value] : {std::pair{"FullTemp", "70"},
                              {"MidTemp", "50"},
                              {"LowTemp", "30"},
                              {"FullControl", "100"},
                              {"MidControl", "81"},
                              {"LowControl", "40"}})
        EXPECT_EQ(sim.LastFintek(key), value) << key;
}

// ORLO.INI loses the board's line during the run (changed or removed): an arrow click saves the
// [FINTEK] keys into the board INI found at start-up, shows no error box, and its click rule
// goes on to the register write (a Full temperature's only write is the click rule's).
struct LostIndexCase {
    const char* what;
    bool removed;
    ui::TUpDown TForm1::*updown;
    std::string writes;
    const char* key;
    const char* value;
};
std::ostream& operator<<(std::ostream& os, const LostIndexCase& c) {
    return os << c.what;
}
class LostIndexEntry : public SmartFanPage, public ::testing::WithParamInterface<LostIndexCase> {};

TEST_P(LostIndexEntry, AnArrowSavesIntoTheStartUpBoardIniAndWritesTheRegister) {
    const LostIndexCase& c = GetParam();
    sim.UseIni(kMainboard);
    std::size_t mark = 0, fintekWrites = 0;
    sim.At(2000, [&](TForm1&) {
        if (c.removed)
            ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath("ORLO.INI")));
        else
            sim.WriteProgramFile("ORLO.INI", SimFixture::CrLf({"[ORLO]", "ZRV-OTHR=OTHER.INI"}));
    });
    Run([&](TForm1& f) {
        SetMainboardPoints(f);
        f.cbSmartFanFunction.SetItemIndex(2);
        mark = sim.Mark();
        fintekWrites = sim.FintekWrites();
        (f.*c.updown).UserArrow(true);
    });
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{});
    EXPECT_EQ(Hex(sim.Writes(mark)), c.writes);
    EXPECT_EQ(sim.FintekWrites(), fintekWrites + 6);
    EXPECT_EQ(sim.LastFintek(c.key), c.value);
    EXPECT_EQ(sim.LastFintek("FullControl"), "100");
    EXPECT_EQ(os::sim::ProfileGetString(sim.ReadProgramFile("A920.INI"), "FINTEK", c.key, ""),
              c.value);
    EXPECT_FALSE(sim.ProgramFileExists("OTHER.INI"));
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, LostIndexEntry,
    ::testing::Values(
        LostIndexCase{"FullTemperature", false, &TForm1::upFullTemp1, "A0=47", "FullTemp", "71"},
        // 81 % of 1500 RPM: 1215 RPM, count 1234 (0x4D2).
        LostIndexCase{"MidDuty", false, &TForm1::upMidControl1, "A6=04 A7=D2", "MidControl", "81"},
        LostIndexCase{"FullTemperatureIndexRemoved", true, &TForm1::upFullTemp1, "A0=47",
                      "FullTemp", "71"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SmartFanPage, AFullSpeedOfZeroWritesTheStoppedCount) {
    sim.UseIni(kMainboard);
    std::size_t mark = 0;
    Run([&](TForm1& f) {
        f.FullSpeedRpm = 0;
        f.upLowControl1.SetPosition(40);
        mark = sim.Mark();
        f.upLowControl1.UserArrow(true);
    });
    EXPECT_EQ(Hex(sim.Writes(mark)), "A8=0F A9=FF");
}

TEST_F(SmartFanPage, ShowingThePageStopsTheFanAnimationAndSizesTheWindow) {
    sim.UseIni(kMainboard);
    Run([](TForm1& f) { f.PageControl1.UserSelect(&f.tabFintekSmartFan); },
        [](TForm1& f) {
            EXPECT_FALSE(f.TimerFanAnimate.Enabled());
            EXPECT_EQ(f.Width(), 500);
            EXPECT_EQ(f.Height(), 400);
            EXPECT_EQ(f.PanelLogo.Caption(), "");
        });
}

TEST_F(SmartFanPage, AFailingRegisterWriteShowsItsMessageAndTheRuleGoesOn) {
    sim.UseIni(kMainboard);
    Run(
        [&](TForm1& f) {
            SetMainboardPoints(f);
            f.cbSmartFanFunction.SetItemIndex(2);
            f.Series1.Clear();
            sim.machine->Board().fail_mask = 1ul << 5; // 0x222020
            f.upMidTemp1.UserArrow(true);
        },
        [&](TForm1& f) {
            EXPECT_EQ(f.upMidTemp1.Position(), 51);
            EXPECT_EQ(f.Series1.Count(), 131);
        });
    EXPECT_EQ(sim.Messages(), (std::vector<std::string>{"IOCTL_MBDRVR_SMART_FAN_SET fail",
                                                        "IOCTL_MBDRVR_SMART_FAN_SET fail"}));
    EXPECT_EQ(sim.LastFintek("MidTemp"), "51");
}

} // namespace

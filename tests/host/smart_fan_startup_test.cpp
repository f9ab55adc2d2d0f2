// The smart fan at start-up: the question on a first start, the BIOS snapshot in [BIOSSET], the
// mainboard layout with Yes and with No (stored values inside and outside the ranges), the mini-PC
// layout, the other boards, and the snapshot written back at close.
#include "SmartFanFixture.h"

#include "monitor/DutyCycleForm.h"

#include <gtest/gtest.h>

using monitor::TForm1;

namespace {

const char* const kQuestion = "Load smart-fan configuration from BIOS?";

// The values written to `key` of [FINTEK], in order.
std::vector<std::string> FintekWritesOf(const SmartFanSim& sim, const std::string& key) {
    std::vector<std::string> values;
    for (const std::string& write : sim.IniWrites("A920.INI"))
        if (write.rfind("[FINTEK] " + key + "=", 0) == 0)
            values.push_back(write.substr(write.find('=') + 1));
    return values;
}

// The first start: the shipped board INI has no [FINTEK] section.
struct FirstStart : ::testing::Test {
    SmartFanSim sim;
    void SetUp() override { sim.WriteProgramFile("A920.INI", SimFixture::DataFile("A920.INI")); }
};

// The demo chip as its BIOS left it: by temperature, 70/50/30 degrees at counts 500/625/1000
// (3000/2400/1500 RPM), duty 157, full-speed count 500.
TEST_F(FirstStart, YesTakesTheBiosSettingsAndASecondStartAsksNoMore) {
    sim.machine->Board().mode_busy_reads = 3; // the chip not ready at first
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_TRUE(f.tabFintekSmartFan.TabVisible());
        EXPECT_TRUE(f.gbFintekSmartFanForMB.Visible());
        EXPECT_FALSE(f.gbFintekSmartFan.Visible());
        EXPECT_EQ(f.BiosFanSnapshot[0], 5); // the mode code in memory
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), 2);
        EXPECT_EQ(f.FullSpeedRpm, 3000);
        EXPECT_EQ(p.frmDutyCycleForm->FullSpeedRpm(), 3000);
        EXPECT_EQ(f.upFullTemp1.Position(), 70);
        EXPECT_EQ(f.upMidTemp1.Position(), 50);
        EXPECT_EQ(f.upLowTemp1.Position(), 30);
        EXPECT_EQ(f.upMidControl1.Position(), 80);
        EXPECT_EQ(f.upLowControl1.Position(), 50);
        EXPECT_EQ(f.upDutyCycle.Position(), 62); // 157 * 100 / 255 = 61.6, rounded
        EXPECT_FALSE(f.upDutyCycle.Visible());
        EXPECT_EQ(f.txtTemp1Temp1.Text(), "60\xB0"
                                          "C/140\xB0"
                                          "F");
        EXPECT_EQ(f.txtMidSpeed1.Text(), "2400");
        EXPECT_EQ(f.txtTemp2Control1.Text(), "65 %");
        EXPECT_EQ(f.Chart1.LeftAxis.Maximum(), 3500);
        EXPECT_EQ(f.Series1.Points().at(29).y, 0);
        EXPECT_EQ(f.Series1.Points().at(70).y, 3000);
    });
    ASSERT_EQ(sim.platform->MessageBoxes().size(), 1u);
    const ui::ShownMessageBox& box = sim.platform->MessageBoxes()[0];
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.caption, "INFO");
    EXPECT_EQ(box.type, ui::kMbYesNo | ui::kMbIconInformation);
    EXPECT_EQ(box.owner, ""); // no owner given; none of the windows is shown yet

    std::vector<std::string> biosSet;
    for (const std::string& write : sim.IniWrites("A920.INI"))
        if (write.rfind("[BIOSSET] ", 0) == 0) biosSet.push_back(write.substr(10));
    EXPECT_EQ(biosSet, (std::vector<std::string>{"CONTROL=1", "PWMDUTY=157", "T1=70", "T2=50",
                                                 "T3=30", "F1H=1", "F1L=244", "F2H=2", "F2L=113",
                                                 "F3H=3", "F3L=232"}));
    std::vector<std::string> fintek;
    for (const std::string& write : sim.IniWrites("A920.INI"))
        if (write.rfind("[FINTEK] ", 0) == 0) fintek.push_back(write.substr(9));
    EXPECT_EQ(fintek, (std::vector<std::string>{"ENABLED=5", "PWMDUTY=157", "FullTemp=70",
                                                "MidTemp=50", "LowTemp=30", "FullControl=100",
                                                "MidControl=80", "LowControl=50", "ENABLED=5"}));
    // The change rules write the moved Mid and Low points; the mode box programs the rest.
    EXPECT_EQ(Hex(sim.Writes()),
              "A1=32 A2=1E 60=01 6B=9D A0=46 A1=32 A2=1E A4=01 A5=F4 A6=02 A7=71 A8=03 A9=E8");

    sim.Restart();
    sim.RunFor(3000);
    EXPECT_TRUE(sim.Messages().empty());
}

TEST_F(FirstStart, NoSelectsFullSpeedAndStoresIt) {
    sim.platform->AnswerBoxes(kQuestion, ui::kIdNo);
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), 0);
        EXPECT_EQ(f.upFullTemp1.Position(), 60);
        EXPECT_EQ(f.upMidTemp1.Position(), 40);
        EXPECT_EQ(f.upLowTemp1.Position(), 20);
        EXPECT_EQ(f.txtFullTemp1.Text(), "60\xB0"
                                         "C/140\xB0"
                                         "F");
        EXPECT_EQ(f.txtLowTemp1.Text(), "20\xB0"
                                        "C/68\xB0"
                                        "F");
        EXPECT_EQ(f.upMidControl1.Position(), 75);
        EXPECT_EQ(f.upLowControl1.Position(), 30);
        EXPECT_EQ(f.upDutyCycle.Position(), 39); // no PWMDUTY: 100 * 100 / 255 = 39.2
        EXPECT_FALSE(f.upMidTemp1.Enabled());
        EXPECT_EQ(f.Series1.Points().at(0).y, 3000); // flat
    });
    EXPECT_EQ(FintekWritesOf(sim, "ENABLED"), (std::vector<std::string>{"4", "4"}));
    EXPECT_EQ(Hex(sim.Writes()).substr(0, 5), "60=04");
}

// The mode register's low bits 3 give the code 7: "Full Speed", stored as 7 by the loader and
// as 4 by the mode box.
TEST_F(FirstStart, ModeCodeSevenIsFullSpeed) {
    sim.SetRegisters({{0x60, 0x03}});
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        EXPECT_EQ(p.Form1->cbSmartFanFunction.ItemIndex(), 0);
    });
    EXPECT_EQ(FintekWritesOf(sim, "ENABLED"), (std::vector<std::string>{"7", "4"}));
}

// By duty cycle the BIOS's fan runs at its duty: all three duties are the present count's.
TEST_F(FirstStart, YesByDutyCycleTakesThePresentCountForEveryDuty) {
    sim.SetRegisters({{0x60, 0x02}, {0x6B, 204}}); // 2400 RPM
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), 1);
        EXPECT_TRUE(f.upDutyCycle.Visible());
        EXPECT_EQ(f.upDutyCycle.Position(), 80);
        EXPECT_EQ(f.upMidControl1.Position(), 80);
        EXPECT_EQ(f.upLowControl1.Position(), 74);
    });
    EXPECT_EQ(FintekWritesOf(sim, "MidControl"), std::vector<std::string>{"80"});
    EXPECT_EQ(FintekWritesOf(sim, "LowControl"), std::vector<std::string>{"80"});
    EXPECT_EQ(sim.WritesOf(0x6B), std::vector<int>{204});
}

// --- stored [FINTEK] values on a mainboard -------------------------------------------------------

struct StoredCase {
    const char* what;
    std::vector<IniKey> keys;
    int item;
    std::vector<std::string> enabledWrites;
    int temps[3];
    int midControl, lowControl, dutyCycle;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.what;
}

class Stored : public ::testing::TestWithParam<StoredCase> {};

TEST_P(Stored, LoadsHeldToTheRanges) {
    const StoredCase& c = GetParam();
    SmartFanSim sim;
    sim.UseIni(c.keys);
    sim.RunFor(3000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), c.item);
        EXPECT_EQ(f.upFullTemp1.Position(), c.temps[0]);
        EXPECT_EQ(f.upMidTemp1.Position(), c.temps[1]);
        EXPECT_EQ(f.upLowTemp1.Position(), c.temps[2]);
        EXPECT_EQ(f.upMidControl1.Position(), c.midControl);
        EXPECT_EQ(f.upLowControl1.Position(), c.lowControl);
        EXPECT_EQ(f.upDutyCycle.Position(), c.dutyCycle);
        EXPECT_EQ(f.upDutyCycle.Visible(), c.item == 1);
        EXPECT_EQ(f.upMidTemp1.Enabled(), c.item == 2);
    });
    EXPECT_EQ(FintekWritesOf(sim, "ENABLED"), c.enabledWrites);
    EXPECT_TRUE(sim.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Stored,
    ::testing::Values(
        StoredCase{"in range, by temperature",
                   {{"FINTEK", "ENABLED", "5"},
                    {"FINTEK", "FullTemp", "75"},
                    {"FINTEK", "MidTemp", "55"},
                    {"FINTEK", "LowTemp", "35"},
                    {"FINTEK", "MidControl", "90"},
                    {"FINTEK", "LowControl", "60"},
                    {"FINTEK", "PWMDUTY", "255"}},
                   2,
                   {"5"},
                   {75, 55, 35},
                   90,
                   60,
                   99},
        // A duty of 300 is read as its low byte 44 and held to 75.
        StoredCase{"out of range",
                   {{"FINTEK", "ENABLED", "5"},
                    {"FINTEK", "FullTemp", "110"},
                    {"FINTEK", "MidTemp", "30"},
                    {"FINTEK", "LowTemp", "45"},
                    {"FINTEK", "MidControl", "300"},
                    {"FINTEK", "LowControl", "80"}},
                   2,
                   {"5"},
                   {100, 40, 39},
                   75,
                   74,
                   39},
        StoredCase{"ENABLED above 7",
                   {{"FINTEK", "ENABLED", "8"}},
                   0,
                   {"4", "4"},
                   {60, 40, 20},
                   75,
                   30,
                   39},
        StoredCase{"ENABLED below 4",
                   {{"FINTEK", "ENABLED", "3"}},
                   0,
                   {"4", "4"},
                   {60, 40, 20},
                   75,
                   30,
                   39},
        StoredCase{"ENABLED 7", {{"FINTEK", "ENABLED", "7"}}, 0, {"4"}, {60, 40, 20}, 75, 30, 39},
        StoredCase{"by duty cycle, PWMDUTY 100",
                   {{"FINTEK", "ENABLED", "6"}, {"FINTEK", "PWMDUTY", "100"}},
                   1,
                   {"6"},
                   {60, 40, 20},
                   75,
                   30,
                   39}));

// The registers a stored "By Temperature" setting programs: the held temperatures, the counts of
// the stored duties, then the mode box's writes.
TEST(StoredSetting, ByTemperatureProgramsTheHeldPoints) {
    SmartFanSim sim;
    sim.UseIni({{"FINTEK", "ENABLED", "5"},
                {"FINTEK", "FullTemp", "110"},
                {"FINTEK", "MidTemp", "50"},
                {"FINTEK", "LowTemp", "45"},
                {"FINTEK", "MidControl", "80"},
                {"FINTEK", "LowControl", "50"}});
    sim.RunFor(3000);
    // 45 reaches 0xA2 through the change rule before the up-down holds 39; 3000, 2400 and 1500
    // RPM are the counts 500, 625 and 1000.
    EXPECT_EQ(Hex(sim.Writes()), "A1=32 A2=2D A0=64 A1=32 A2=27 A4=01 A5=F4 A6=02 A7=71 A8=03 "
                                 "A9=E8 60=01 6B=9D A0=64 A1=32 A2=27 A4=01 A5=F4 A6=02 A7=71 "
                                 "A8=03 A9=E8");
}

// Without PWMDUTY the manual duty shows 100 (39 %), while the mode box writes 255.
TEST(StoredSetting, ByDutyCycleWithoutAStoredDuty) {
    SmartFanSim sim;
    sim.UseIni({{"FINTEK", "ENABLED", "6"}});
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        EXPECT_EQ(p.Form1->upDutyCycle.Position(), 39);
        EXPECT_EQ(p.Form1->txtDutyCycle.Text(), "39 %");
        EXPECT_TRUE(p.Form1->txtDutyCycle.Visible());
    });
    EXPECT_EQ(sim.WritesOf(0x6B), std::vector<int>{255});
}

// A stored duty byte is shown as its percentage, held to the up-down's 99 before it is set: the
// text and the position agree.
TEST(StoredSetting, ByDutyCycleShowsTheStoredDutyWithinTheUpDownsRange) {
    struct Case {
        const char* pwm;
        int percent;
    };
    for (Case c : {Case{"128", 50}, Case{"254", 99}, Case{"255", 99}}) {
        SCOPED_TRACE(c.pwm);
        SmartFanSim sim;
        sim.UseIni({{"FINTEK", "ENABLED", "6"}, {"FINTEK", "PWMDUTY", c.pwm}});
        sim.RunFor(3000, [&](monitor::MonitorProgram& p) {
            EXPECT_EQ(p.Form1->upDutyCycle.Position(), c.percent);
            EXPECT_EQ(p.Form1->txtDutyCycle.Text(), std::to_string(c.percent) + " %");
        });
    }
}

// A full-speed count of 0 is no full speed: 0 RPM, every duty 0 and every speed the chip's
// stopped count, with nothing divided by zero.
TEST(StoredSetting, AFullSpeedCountOfZero) {
    SmartFanSim sim;
    sim.SetRegisters({{0x0A, 0}, {0x0B, 0}});
    sim.UseIni({{"FINTEK", "ENABLED", "5"}, {"FINTEK", "MidControl", "80"}});
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        EXPECT_EQ(p.Form1->FullSpeedRpm, 0);
        EXPECT_EQ(p.Form1->txtMidSpeed1.Text(), "0");
        EXPECT_EQ(p.Form1->Chart1.LeftAxis.Maximum(), 500);
    });
    std::vector<RegisterAccess> writes = sim.Writes();
    ASSERT_GE(writes.size(), 6u);
    EXPECT_EQ(Hex({writes.end() - 6, writes.end()}), "A4=0F A5=FF A6=0F A7=FF A8=0F A9=FF");
}

// --- the mini-PC layout ------------------------------------------------------------------------

TEST(MiniPcStart, StoresFullSpeedModeFirstAndLoadsTheUsersPoints) {
    SmartFanSim sim;
    sim.UseIni({{"SYSTEM", "MINIPC", "1"},
                {"FINTEK", "ENABLED", "2"},
                {"FINTEK", "FullTemp", "0"},
                {"FINTEK", "MidTemp", "45"},
                {"FINTEK", "LowTemp", "20"},
                {"FINTEK", "FullControl", "90"},
                {"FINTEK", "MidControl", "70"},
                {"FINTEK", "LowControl", "40"}});
    sim.RunFor(3000, [](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_TRUE(f.gbFintekSmartFan.Visible());
        EXPECT_FALSE(f.gbFintekSmartFanForMB.Visible());
        EXPECT_TRUE(f.cbSmartCPUFan.Checked());
        EXPECT_EQ(f.cbQuickSetting.ItemIndex(), 3);
        EXPECT_TRUE(f.upFullTemp.Enabled());
        EXPECT_EQ(f.upFullTemp.Position(), 61);
        EXPECT_EQ(f.txtFullTemp.Text(), "61\xB0"
                                        "C/141\xB0"
                                        "F");
        EXPECT_EQ(f.txtTemp1Temp.Text(), "53\xB0"
                                         "C/127\xB0"
                                         "F");
        EXPECT_EQ(f.txtFullSpeed.Text(), "2700");
        EXPECT_EQ(f.txtTemp2Control.Text(), "55 %");
        EXPECT_EQ(f.FullSpeedRpm, 3000);
        EXPECT_EQ(f.Series1.Points().at(61).y, 2700);
    });
    std::vector<std::string> fintek;
    for (const std::string& write : sim.IniWrites("A920.INI"))
        if (write.rfind("[FINTEK] ", 0) == 0) fintek.push_back(write.substr(9));
    EXPECT_EQ(fintek,
              (std::vector<std::string>{"ENABLED=4", "FullTemp=61", "MidTemp=45", "LowTemp=20",
                                        "FullControl=90", "MidControl=70", "LowControl=40"}));
    // Smart CPUFan on, the changed Mid and Low points at once, then the points and the counts
    // of 2700, 2100 and 1200 RPM (555, 714, 1250). The tick never refreshes a mini-PC's page.
    EXPECT_EQ(Hex(sim.Writes()),
              "60=11 A1=2D A2=14 A0=3D A1=2D A2=14 A4=02 A5=2B A6=02 A7=CA A8=04 A9=E2");
    for (auto [reg, value] : sim.Reads())
        EXPECT_NE(reg, 0x20) << "a refresh read the present count";
}

// --- other boards ------------------------------------------------------------------------------

TEST(OtherBoards, OnlyLoseThePagesTab) {
    SmartFanSim sim;
    sim.WriteProgramFile("A920.INI", ScenarioBoardIni({{"FINTEK", "ENABLED", "5"}}));
    sim.At(2000, [](TForm1& f) { f.Exit1.UserClick(); });
    sim.RunFor(3000);
    EXPECT_TRUE(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_PRESTATE).empty());
    EXPECT_TRUE(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_SET).empty());
    EXPECT_TRUE(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_RESOTRE).empty());
    EXPECT_EQ(sim.FintekWrites(), 0u);
    for (const std::string& write : sim.IniWrites("A920.INI"))
        EXPECT_NE(write.rfind("[BIOSSET]", 0), 0u) << write;
}

// --- the snapshot back at close ----------------------------------------------------------------

TEST(BiosSnapshot, ClosingPutsTheBiosSettingsBackOnTheChip) {
    SmartFanSim sim;
    sim.UseIni({{"FINTEK", "ENABLED", "4"}}); // the monitor sets full speed
    const BoardState bios = sim.machine->Board();
    sim.At(2000, [&](TForm1&) { EXPECT_EQ(sim.Register(0x60), 4); });
    sim.At(3000, [](TForm1& f) { f.Exit1.UserClick(); });
    sim.RunFor(4000);
    for (int reg : {0x60, 0x6B, 0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9})
        EXPECT_EQ(sim.Register(reg), bios.registers[reg]) << reg;
    EXPECT_EQ(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_RESOTRE).size(), 1u);
}

// The exit message skips the close: the chip keeps the monitor's setting, and the next start
// records that as the BIOS's.
TEST(BiosSnapshot, AfterTheExitMessageTheChipKeepsTheMonitorsSetting) {
    SmartFanSim sim;
    sim.UseIni({{"FINTEK", "ENABLED", "4"}});
    sim.RunFor(3000);
    EXPECT_TRUE(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_RESOTRE).empty());
    EXPECT_EQ(sim.Register(0x60), 4);
    sim.Restart();
    sim.RunFor(3000);
    std::string ini = sim.ReadProgramFile("A920.INI");
    EXPECT_FALSE(LinesContaining(ini, "CONTROL=4").empty());
    EXPECT_FALSE(LinesContaining(ini, "F2L=255").empty());
}

} // namespace

// The presets of the mini-PC set: the three built-in curves and the user's, their positions (set
// through the change rules), the points and counts written to the chip, and [FINTEK] ENABLED.
#include "SmartFanFixture.h"

#include <gtest/gtest.h>

using monitor::TForm1;

namespace {

// A mini-PC board whose stored points are 70/45/20 degrees at 90/70/40 %; the demo chip's
// full-speed count 500 makes the full speed 3000 RPM.
const std::vector<IniKey> kStored = {
    {"SYSTEM", "MINIPC", "1"},      {"FINTEK", "ENABLED", "4"},    {"FINTEK", "FullTemp", "70"},
    {"FINTEK", "MidTemp", "45"},    {"FINTEK", "LowTemp", "20"},   {"FINTEK", "FullControl", "90"},
    {"FINTEK", "MidControl", "70"}, {"FINTEK", "LowControl", "40"}};

struct PresetCase {
    int item;
    int positions[6];        // Full, Mid, Low temperatures; Full, Mid, Low duties
    const char* pointWrites; // the points and counts, written after the positions
    const char* enabled;
    bool controlsEnabled;
};

void PrintTo(const PresetCase& c, std::ostream* os) {
    *os << "item " << c.item;
}

class Preset : public ::testing::TestWithParam<PresetCase> {};

TEST_P(Preset, SetsThePointsAndProgramsTheChip) {
    const PresetCase& c = GetParam();
    SmartFanSim sim;
    sim.UseIni(kStored);
    std::size_t mark = 0;
    sim.At(3000, [&](TForm1& f) {
        mark = sim.Mark();
        f.cbQuickSetting.UserSelect(c.item);
    });
    sim.RunFor(4000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        ui::TUpDown* updowns[6] = {&f.upFullTemp,    &f.upMidTemp,    &f.upLowTemp,
                                   &f.upFullControl, &f.upMidControl, &f.upLowControl};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(updowns[i]->Position(), c.positions[i]) << i;
        for (ui::TUpDown* updown : updowns)
            EXPECT_EQ(updown->Enabled(), c.controlsEnabled);
        EXPECT_EQ(f.txtFullControl.Enabled(), c.controlsEnabled);
        EXPECT_EQ(f.Series1.Count(), 131);
        EXPECT_EQ(f.Chart1.LeftAxis.Maximum(), 3500);
    });
    std::vector<RegisterAccess> writes = sim.Writes(mark);
    ASSERT_GE(writes.size(), 9u);
    EXPECT_EQ(Hex({writes.end() - 9, writes.end()}), c.pointWrites);
    // No mode register: the presets only move the points.
    EXPECT_TRUE(sim.WritesOf(0x60, mark).empty());
    EXPECT_EQ(sim.LastFintek("ENABLED"), c.enabled);
    EXPECT_EQ(sim.LastFintek("MidTemp"), "45"); // no point key is stored
}

INSTANTIATE_TEST_SUITE_P(Items, Preset,
                         ::testing::Values(
                             // 3000, 2400, 1500 RPM: counts 500, 625, 1000.
                             PresetCase{0,
                                        {61, 31, 0, 100, 80, 50},
                                        "A0=3D A1=1F A2=00 A4=01 A5=F4 A6=02 A7=71 A8=03 A9=E8",
                                        "1",
                                        false},
                             // 3000, 1950, 1200 RPM: counts 500, 769, 1250.
                             PresetCase{1,
                                        {80, 50, 0, 100, 65, 40},
                                        "A0=50 A1=32 A2=00 A4=01 A5=F4 A6=03 A7=01 A8=04 A9=E2",
                                        "2",
                                        false},
                             // The full duty is 81 %: 2430, 1830, 900 RPM, counts 617, 819, 1666.
                             PresetCase{2,
                                        {80, 60, 20, 81, 61, 30},
                                        "A0=50 A1=3C A2=14 A4=02 A5=69 A6=03 A7=33 A8=06 A9=82",
                                        "3",
                                        false},
                             // The stored points: 2700, 2100, 1200 RPM, counts 555, 714, 1250.
                             PresetCase{3,
                                        {70, 45, 20, 90, 70, 40},
                                        "A0=46 A1=2D A2=14 A4=02 A5=2B A6=02 A7=CA A8=04 A9=E2",
                                        "4",
                                        true}));

// The positions are set first, each through its change rule: Mid and Low reach the chip at once.
TEST(Presets, NormalRunWritesTheMovedPointsThenAllOfThem) {
    SmartFanSim sim;
    sim.UseIni(kStored);
    std::size_t mark = 0;
    sim.At(3000, [&](TForm1& f) {
        mark = sim.Mark();
        f.cbQuickSetting.UserSelect(1);
    });
    sim.RunFor(4000, [](monitor::MonitorProgram& p) {
        EXPECT_EQ(p.Form1->txtMidControl.Text(), "65 %");
        EXPECT_EQ(p.Form1->txtMidSpeed.Text(), "1950");
        EXPECT_EQ(p.Form1->txtTemp2Temp.Text(), "25\xB0"
                                                "C/77\xB0"
                                                "F");
    });
    EXPECT_EQ(Hex(sim.Writes(mark)),
              "A1=32 A2=00 A0=50 A1=32 A2=00 A4=01 A5=F4 A6=03 A7=01 A8=04 A9=E2");
}

// A stored point outside its range is held to it, and so are its texts.
TEST(Presets, TheUsersCurveHoldsStoredValuesToTheRanges) {
    SmartFanSim sim;
    std::vector<IniKey> keys = kStored;
    keys.push_back({"FINTEK", "LowControl", "0"});
    sim.UseIni(keys);
    sim.At(3000, [](TForm1& f) {
        f.cbQuickSetting.UserSelect(1);
        f.cbQuickSetting.UserSelect(3);
    });
    sim.RunFor(4000, [](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.upLowControl.Position(), 30);
        // The texts show the held points.
        EXPECT_EQ(f.txtLowControl.Text(), "30 %");
        EXPECT_EQ(f.txtTemp2Control.Text(), "50 %");
        EXPECT_EQ(f.txtLowSpeed.Text(), "900");
    });
}

} // namespace

// The BIOS's smart-fan settings: the restore request from [BIOSSET] and "Load Settings From
// BIOS" (btnDefaultClick) with its snapshot, positions, duties, keys and the polling timer kept
// off while it runs.
#include "SmartFanFixture.h"

#include <gtest/gtest.h>

using monitor::TForm1;

namespace {

const char* const kBiosKeys[11] = {"CONTROL", "PWMDUTY", "T1",  "T2",  "T3", "F1H",
                                   "F1L",     "F2H",     "F2L", "F3H", "F3L"};
const int kBiosRegisters[11] = {0x60, 0x6B, 0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9};

struct SmartFanBios : ::testing::Test {
    SmartFanSim sim;

    // The BIOS's eleven registers, on the chip and in [BIOSSET] alike (the start-up records the
    // chip's values there), with the other keys of the board INI.
    void UseBios(const int values[11], std::vector<IniKey> keys = {}) {
        for (int i = 0; i < 11; ++i) {
            sim.machine->Board().registers[kBiosRegisters[i]] =
                static_cast<unsigned char>(values[i]);
            keys.push_back({"BIOSSET", kBiosKeys[i], std::to_string(values[i])});
        }
        sim.UseIni(keys);
    }
    std::vector<std::vector<std::uint8_t>> Restores() const {
        std::vector<std::vector<std::uint8_t>> inputs;
        for (const auto& r : sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_SMART_FAN_RESOTRE))
            inputs.push_back(r.input);
        return inputs;
    }
};

// T1=60, T2=45, T3=30, F1=0x12C, F2=0x258, F3=0x3E8, PWMDUTY=200, CONTROL=1.
const int kBios[11] = {0x01, 200, 60, 45, 30, 0x01, 0x2C, 0x02, 0x58, 0x03, 0xE8};

TEST_F(SmartFanBios, ClosingWritesTheSnapshotBackInOneRequest) {
    UseBios(kBios, {{"FINTEK", "ENABLED", "5"}});
    sim.At(3000, [](TForm1& f) { f.Exit1.UserClick(); });
    sim.RunFor(10000);
    const std::vector<std::uint8_t> expected = {0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8,
                                                0xA9, 0x6B, 0x60, 0x3C, 0x2D, 0x1E, 0x01, 0x2C,
                                                0x02, 0x58, 0x03, 0xE8, 0xC8, 0x01};
    EXPECT_EQ(Restores(), std::vector<std::vector<std::uint8_t>>{expected});
}

TEST_F(SmartFanBios, WithoutBiosSetTheRestoreCarriesElevenZeros) {
    sim.UseIni({{"FINTEK", "ENABLED", "4"}});
    sim.At(3000, [&](TForm1& f) {
        sim.UseIni({{"FINTEK", "ENABLED", "4"}});
        f.RestoreBiosFanSettings();
    });
    sim.RunFor(5000);
    ASSERT_FALSE(Restores().empty());
    std::vector<std::uint8_t> restore = Restores().back();
    EXPECT_EQ(std::vector<std::uint8_t>(restore.begin() + 11, restore.end()),
              std::vector<std::uint8_t>(11, 0));
}

TEST_F(SmartFanBios, AFailedRestoreShowsItsMessageAndTheCloseGoesOn) {
    UseBios(kBios, {{"FINTEK", "ENABLED", "5"}});
    sim.At(3000, [&](TForm1& f) {
        sim.machine->Board().fail_mask = 1ul << 7; // 0x222028
        f.Exit1.UserClick();
    });
    sim.RunFor(10000);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"IOCTL_MBDRVR_SMART_FAN_RESOTRE fail!!"});
}

// Snapshot points 90, 60 and 10 degrees; counts of 1500, 1200 and 600 RPM against a full-speed
// count of 1000 (1500 RPM): the duties 100, 80 and 40 %.
const int kByTemperature[11] = {0x01, 200, 0x5A, 0x3C, 0x0A, 0x03, 0xE8, 0x04, 0xE2, 0x09, 0xC4};

struct LoadFromBios : SmartFanBios {
    void SetUp() override {
        sim.machine->Board().fan_max_rpm = 1500;
        sim.SetRegisters({{0x0A, 0x03}, {0x0B, 0xE8}});
    }
};

TEST_F(LoadFromBios, TakesTheBiosPointsAndStoresThemAsTheSetting) {
    UseBios(kByTemperature, {{"FINTEK", "ENABLED", "4"}});
    std::size_t clicked = 0;
    bool clicking = false;
    std::vector<bool> timerDuringClick;
    sim.machine->BoardScript = [&](BoardState&, std::uint32_t) {
        if (clicking && sim.Form1()) timerDuringClick.push_back(sim.Form1()->Timer1.Enabled());
    };
    sim.At(3000, [&](TForm1& f) {
        f.upMidTemp1.SetPosition(45);
        f.upLowTemp1.SetPosition(25);
        clicked = sim.Mark();
        clicking = true;
        f.btnDefault.UserClick();
        clicking = false;
    });
    sim.RunFor(8000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_TRUE(f.Timer1.Enabled());
        EXPECT_EQ(f.upFullTemp1.Position(), 90);
        EXPECT_EQ(f.upMidTemp1.Position(), 59);
        EXPECT_EQ(f.upLowTemp1.Position(), 20);
        EXPECT_EQ(f.txtTemp1Temp1.Text(), "74\xB0"
                                          "C/165\xB0"
                                          "F");
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), 2);
        EXPECT_EQ(f.BiosFanSnapshot[0], 5); // the mode code, not the register's 0x01
        EXPECT_EQ(f.FullSpeedRpm, 1500);
        EXPECT_EQ(f.upMidControl1.Position(), 80);
        EXPECT_EQ(f.upLowControl1.Position(), 40);
        EXPECT_EQ(f.txtMidSpeed1.Text(), "1200");
        EXPECT_EQ(f.txtTemp2Speed1.Text(), "900");
        EXPECT_EQ(f.txtTemp1Control1.Text(), "90 %");
        EXPECT_EQ(f.upDutyCycle.Position(), 78); // 200 * 100 / 255 = 78.4
        EXPECT_FALSE(f.upDutyCycle.Visible());
        EXPECT_TRUE(f.upMidTemp1.Enabled());
        EXPECT_EQ(f.Chart1.LeftAxis.Maximum(), 2000);
        ASSERT_EQ(f.Series1.Count(), 131);
        EXPECT_EQ(f.Series1.Points()[19].y, 0);    // below Low
        EXPECT_EQ(f.Series1.Points()[20].y, 600);  // Low
        EXPECT_EQ(f.Series1.Points()[90].y, 1500); // Full
    });
    ASSERT_FALSE(timerDuringClick.empty());
    EXPECT_EQ(std::count(timerDuringClick.begin(), timerDuringClick.end(), true), 0);
    // The restore first, then the snapshot; the change rules write the held Mid and Low points
    // at once, Full waits for a click.
    EXPECT_EQ(sim.WritesOf(0xA1, clicked), std::vector<int>{59});
    EXPECT_EQ(sim.WritesOf(0xA2, clicked), std::vector<int>{20});
    EXPECT_TRUE(sim.WritesOf(0xA0, clicked).empty());
    std::vector<RegisterAccess> reads = sim.Reads(clicked);
    ASSERT_GE(reads.size(), 11u);
    const int order[11] = {0x60, 0x6B, 0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(reads[i].first, order[i]) << i;
    for (auto [key, value] : {std::pair{"FullTemp", "90"},
                              {"MidTemp", "59"},
                              {"LowTemp", "20"},
                              {"FullControl", "100"},
                              {"MidControl", "80"},
                              {"LowControl", "40"},
                              {"PWMDUTY", "200"},
                              {"ENABLED", "5"}})
        EXPECT_EQ(sim.LastFintek(key), value) << key;
    std::vector<std::string> cursor;
    for (const std::string& line : sim.machine->Transcript())
        if (line.find("cursor hour-glass") != std::string::npos ||
            line.find("cursor default") != std::string::npos)
            cursor.push_back(line.substr(line.find("cursor")));
    ASSERT_GE(cursor.size(), 2u);
    EXPECT_EQ(cursor[cursor.size() - 2], "cursor hour-glass");
    EXPECT_EQ(cursor.back(), "cursor default");
}

struct ModeCase {
    int modeRegister, pwm;
    int item;
    const char* enabled;
    int dutyCycle;
    bool manualDutyShown;
    int midControl; // the duty of the up-down, and the key's unheld value
    const char* midKey;
};

class LoadFromBiosModes : public LoadFromBios, public ::testing::WithParamInterface<ModeCase> {};

// By duty cycle the fan runs at the BIOS's duty: 255 is full speed, so every duty is 100 %.
TEST_P(LoadFromBiosModes, TheModeRegisterPicksTheItemAndThePwmTheManualDuty) {
    const ModeCase& c = GetParam();
    int bios[11] = {c.modeRegister, c.pwm, 70, 50, 30, 0, 0, 0xF, 0xFF, 0xF, 0xFF};
    UseBios(bios, {{"FINTEK", "ENABLED", "4"}});
    sim.At(3000, [](TForm1& f) { f.btnDefault.UserClick(); });
    sim.RunFor(5000, [&](monitor::MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_EQ(f.cbSmartFanFunction.ItemIndex(), c.item);
        EXPECT_EQ(f.upDutyCycle.Position(), c.dutyCycle);
        EXPECT_EQ(f.upDutyCycle.Visible(), c.manualDutyShown);
        EXPECT_EQ(f.upMidControl1.Position(), c.midControl);
        EXPECT_FALSE(f.upMidTemp1.Enabled());
        // No points: the flat curve at the full speed.
        ASSERT_EQ(f.Series1.Count(), 131);
        EXPECT_EQ(f.Series1.Points()[0].y, 1500);
    });
    EXPECT_EQ(sim.LastFintek("ENABLED"), c.enabled);
    EXPECT_EQ(sim.LastFintek("MidControl"), c.midKey);
}

INSTANTIATE_TEST_SUITE_P(Modes, LoadFromBiosModes,
                         ::testing::Values(ModeCase{0x12, 255, 1, "6", 99, true, 99, "100"},
                                           ModeCase{0x13, 128, 0, "7", 50, false, 75, "0"},
                                           ModeCase{0x00, 2, 0, "4", 1, false, 75, "0"},
                                           ModeCase{0x00, 1, 0, "4", 0, false, 75, "0"}));

TEST_F(LoadFromBios, WaitsAtMost255ReadsForTheModeRegister) {
    UseBios(kByTemperature, {{"FINTEK", "ENABLED", "4"}});
    std::size_t clicked = 0;
    sim.At(3000, [&](TForm1& f) {
        sim.machine->Board().mode_busy_reads = 100000;
        clicked = sim.Mark();
        f.btnDefault.UserClick();
    });
    sim.RunFor(5000, [&](monitor::MonitorProgram& p) {
        // 0xFF gives the mode code 7: "Full Speed".
        EXPECT_EQ(p.Form1->cbSmartFanFunction.ItemIndex(), 0);
    });
    int modeReads = 0;
    for (auto [reg, value] : sim.Reads(clicked))
        if (reg == 0x60) ++modeReads;
    EXPECT_EQ(modeReads, 255);
    EXPECT_EQ(sim.LastFintek("ENABLED"), "7");
}

// A board INI that cannot be written: the exception box, and the polling goes on.
TEST_F(LoadFromBios, AFailedWriteLeavesThePollingRunning) {
    UseBios(kByTemperature, {{"FINTEK", "ENABLED", "4"}});
    sim.At(3000, [&](TForm1& f) {
        sim.machine->SetReadOnly(SimFixture::ProgramPath("A920.INI"), true);
        f.btnDefault.UserClick();
    });
    std::size_t ticksBefore = 0;
    sim.At(3500, [&](TForm1&) {
        ticksBefore = sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS).size();
        // Writable again for the final save.
        sim.machine->SetReadOnly(SimFixture::ProgramPath("A920.INI"), false);
    });
    sim.RunFor(12000, [&](monitor::MonitorProgram& p) {
        EXPECT_TRUE(p.Form1->Timer1.Enabled());
        EXPECT_EQ(p.App.ScreenCursor(), ui::TCursor::crDefault);
    });
    ASSERT_EQ(sim.Messages().size(), 1u);
    EXPECT_EQ(sim.Messages()[0].rfind("Unable to write to ", 0), 0u);
    EXPECT_GT(sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS).size(),
              ticksBefore + 5);
}

} // namespace

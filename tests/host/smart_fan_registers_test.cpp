// The smart fan's register encodings: counts, speeds and duties with their zero rules, the mode
// code, the duty register's 2.55 factor, counts written high part first and the bounded wait
// for the mode register.
#include "monitor/Driver.h"
#include "monitor/SmartFanRegisters.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

using namespace monitor;

namespace {

TEST(SmartFanEncoding, CountsAndSpeedsNeverDivideByZero) {
    EXPECT_EQ(RpmOfCount(0x3E8), 1500u);
    EXPECT_EQ(RpmOfCount(0), 0u);
    EXPECT_EQ(CountOfRpm(1125), 1333u);
    EXPECT_EQ(CountOfRpm(0), 0xFFFu);
    // Too slow for 12 bits: the count is kept whole; only its low 12 bits reach the chip.
    EXPECT_EQ(CountOfRpm(300), 5000u);
    EXPECT_EQ(HeldSpeed(65535), 65535);
    EXPECT_EQ(HeldSpeed(1500000), 65535);
}

TEST(SmartFanEncoding, DutiesAndSpeedsOfTheFullSpeed) {
    EXPECT_EQ(SpeedOfDuty(75, 1500), 1125);
    EXPECT_EQ(SpeedOfDuty(80, 1612), 1289); // 1289.6 truncated
    EXPECT_EQ(SpeedOfDuty(100, 1500000), 65535);
    EXPECT_EQ(SpeedOfDuty(-5, 1500), 0);
    EXPECT_EQ(SpeedOfDuty(75, 0), 0);
    EXPECT_EQ(FullSpeedOf(1612), 1612);
    EXPECT_EQ(FullSpeedOf(1500000), 65535);

    EXPECT_EQ(DutyOfSpeed(1200, 1500), 80);
    EXPECT_EQ(DutyOfSpeed(1199, 1500), 79);
    // No full speed: duty 0, and no NaN or infinity reaches an integer.
    EXPECT_EQ(DutyOfSpeed(1200, 0), 0);
    EXPECT_EQ(DutyOfSpeed(0, 0), 0);
    EXPECT_EQ(DutyOfSpeed(1200, std::numeric_limits<double>::quiet_NaN()), 0);
    // A speed far above the full speed is held to a byte.
    EXPECT_EQ(DutyOfSpeed(1500000, 1500), 255);
}

TEST(SmartFanEncoding, CountsFromTheTwoRegisters) {
    EXPECT_EQ(MaskedCount(0x13, 0xE8), 0x3E8u);
    EXPECT_EQ(RawCount(0x13, 0xE8), 0x13E8u);
}

TEST(SmartFanEncoding, ModeCodeAndItsItem) {
    struct Case {
        std::uint8_t reg;
        int code, item;
    };
    for (Case c : {Case{0x00, 4, 0}, Case{0x01, 5, 2}, Case{0x11, 5, 2}, Case{0x12, 6, 1},
                   Case{0x13, 7, 0}, Case{0xFF, 7, 0}}) {
        EXPECT_EQ(ModeCode(c.reg), c.code) << int(c.reg);
        EXPECT_EQ(ModeItemOfCode(c.code), c.item) << int(c.reg);
    }
}

// The factor is the double nearest 2.55 (slightly below it) and the product is formed in
// extended precision: the integer form gives the same value for every percentage.
TEST(SmartFanEncoding, DutyRegisterOfPercentIsTheTruncatedProductWithTheDouble255) {
    const long double factor = 2.55;
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(DutyRegisterOfPercent(percent),
                  static_cast<int>(static_cast<long double>(percent) * factor))
            << percent;
    for (auto [percent, value] : {std::pair{20, 50},
                                  {40, 101},
                                  {60, 152},
                                  {80, 203},
                                  {50, 127},
                                  {99, 252},
                                  {100, 254},
                                  {0, 0},
                                  {1, 2}})
        EXPECT_EQ(DutyRegisterOfPercent(percent), value) << percent;
}

// --- register requests -------------------------------------------------------------------------

struct FanRegistersTest : ::testing::Test {
    TestSandbox sandbox{"orlo-fanreg"};
    os::sim::SimMachine machine{sandbox};
    std::unique_ptr<os::sim::SimProcess> process = machine.StartProcess("C:\\T.EXE");
    ui::HeadlessPlatform platform{*process};
    ui::Application app{*process, platform};
    Driver driver{*process, app};
    os::Handle device = process->OpenDevice("\\\\.\\ZarvoORLO");
    FanRegisters chip{driver, device};

    std::vector<std::vector<std::uint8_t>> Inputs(std::uint32_t code) const {
        std::vector<std::vector<std::uint8_t>> inputs;
        for (const auto& r : machine.RequestsWithCode(code))
            inputs.push_back(r.input);
        return inputs;
    }
};

TEST_F(FanRegistersTest, CountsGoHighPartFirstAndKeepTwelveBits) {
    chip.WriteCount(0xA6, 1333);   // 0x535
    chip.WriteCount(0xA8, 0x1388); // 5000: above 12 bits
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(Inputs(IOCTL_MBDRVR_SMART_FAN_SET),
              (std::vector<Bytes>{{0xA6, 0x05}, {0xA7, 0x35}, {0xA8, 0x03}, {0xA9, 0x88}}));
    EXPECT_EQ(chip.ReadMaskedCount(0xA6), 1333u);
    machine.Board().registers[0x0A] = 0x13;
    machine.Board().registers[0x0B] = 0xE8;
    EXPECT_EQ(chip.ReadRawCount(0x0A), 0x13E8u);
    EXPECT_EQ(chip.ReadMaskedCount(0x0A), 0x3E8u);
}

TEST_F(FanRegistersTest, ModeWaitEndsAtTheFirstReadyValue) {
    machine.Board().mode_busy_reads = 3;
    EXPECT_EQ(chip.ReadModeWhenReady(), 0x01);
    EXPECT_EQ(Inputs(IOCTL_MBDRVR_SMART_FAN_PRESTATE).size(), 4u);
}

TEST_F(FanRegistersTest, ModeWaitIsBoundedAt255Reads) {
    machine.Board().mode_busy_reads = 100000;
    EXPECT_EQ(chip.ReadModeWhenReady(), 0xFF);
    EXPECT_EQ(Inputs(IOCTL_MBDRVR_SMART_FAN_PRESTATE).size(), 255u);
    EXPECT_TRUE(platform.MessageTexts().empty());
}

TEST_F(FanRegistersTest, AFailedReadEndsTheModeWait) {
    machine.Board().mode_busy_reads = 100000;
    machine.Board().fail_mask = 1ul << 6; // 0x222024
    EXPECT_EQ(chip.ReadModeWhenReady(), 0);
    EXPECT_EQ(Inputs(IOCTL_MBDRVR_SMART_FAN_PRESTATE).size(), 1u);
    EXPECT_EQ(platform.MessageTexts(),
              std::vector<std::string>{"IOCTL_MBDRVR_SMART_FAN_PRESTATE fail"});
}

} // namespace

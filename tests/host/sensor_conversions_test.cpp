#include "monitor/SensorConversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace monitor;

struct VoltageCase {
    std::uint8_t chip;
    int input;
    std::uint8_t raw;
    std::uint32_t r1, r2;
    bool negative;
    std::uint32_t expected;
};

TEST(SensorConversions, VoltageReadings) {
    const VoltageCase cases[] = {
        // raw 255 is no reading, whatever the chip or rail
        {0x92, 0, 255, 0, 0, false, 0},
        {0x91, 0, 255, 0, 0, false, 0},
        {0x91, 3, 255, 30, 10, false, 0},
        {0x21, 2, 255, 232, 56, true, 0},
        // step by chip and input
        {0x92, 0, 100, 0, 0, false, 1600},
        {0x92, 1, 100, 0, 0, false, 800},
        {0x92, 3, 100, 0, 0, false, 800},
        {0x92, 6, 100, 0, 0, false, 800},
        {0x92, 7, 100, 0, 0, false, 1600},
        {0x92, 8, 100, 0, 0, false, 1600},
        {0x91, 1, 100, 0, 0, false, 1600},
        {0x91, 3, 100, 0, 0, false, 2700},
        {0x91, 8, 100, 0, 0, false, 2700},
        {0x90, 0, 100, 0, 0, false, 1600},
        {0x60, 3, 100, 0, 0, false, 1600},
        {0x21, 8, 100, 0, 0, false, 1600},
        // VIN0 of chip 0x91: raw * 4.88 truncated, plus 700, divider ignored
        {0x91, 0, 0, 0, 0, false, 700},
        {0x91, 0, 254, 0, 0, false, 1939},
        {0x91, 0, 254, 30, 10, false, 1939},
        {0x91, 0, 25, 0, 0, false, 822},
        // divider (R1 + R2) / R2, truncated once after multiplying
        {0x21, 0, 100, 30, 10, false, 6400},
        {0x91, 3, 100, 30, 10, false, 10800},
        {0x21, 0, 100, 1, 3, false, 2133},
        {0x21, 0, 100, 30, 0, false, 1600}, // R2 0: the undivided reading
        // a divider in ohms: the product needs more than 32 bits
        {0x21, 0, 240, 1000000, 250000, false, 19200},
        {0x91, 3, 254, 1000000, 330000, false, 27639},
        {0x21, 0, 100, 4294967295u, 1, false, 4294967295u}, // beyond 32 bits: the largest
        {0x21, 5, 100, 232000, 56000, true, 6685},
        {0x21, 5, 0, 4294967295u, 1, true, 4294967295u},
        // negative rail, on every chip and input
        {0x21, 5, 100, 232, 56, true, 6685},
        {0x91, 0, 100, 232, 56, true, 6685},
        {0x92, 1, 100, 0, 0, true, 1600},
        {0x21, 5, 100, 30, 0, true, 1600},
        {0x21, 5, 181, 232, 56, true, 20},
        {0x21, 5, 182, 232, 56, true, 0}, // at or above 0 V
        {0x21, 5, 226, 232, 56, true, 0},
        {0x21, 5, 254, 232, 56, true, 0},
    };
    for (const VoltageCase& c : cases) {
        EXPECT_EQ(VoltageReading(c.chip, c.input, c.raw, c.r1, c.r2, c.negative), c.expected)
            << "chip " << int(c.chip) << " VIN" << c.input << " raw " << int(c.raw) << " R1 "
            << c.r1 << " R2 " << c.r2 << (c.negative ? " negative" : "");
    }
}

TEST(SensorConversions, VoltageKinds) {
    const int kinds92[9] = {0, 1, 1, 1, 1, 1, 1, 0, 0};
    const int kinds91[9] = {2, 0, 0, 1, 0, 0, 0, 0, 1};
    const int kindsOther[9] = {0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(VoltageKind(0x92, i), kinds92[i]) << i;
        EXPECT_EQ(VoltageKind(0x91, i), kinds91[i]) << i;
        for (std::uint8_t chip : {0x21, 0x60, 0x90})
            EXPECT_EQ(VoltageKind(chip, i), kindsOther[i]) << i;
    }
}

TEST(SensorConversions, Fan92Counts) {
    const struct {
        std::uint8_t high, low;
        std::uint32_t rpm;
    } cases[] = {
        {15, 255, 0},  {0x0A, 0x00, 585}, {0x1A, 0x00, 585}, // only the low 4 high bits count
        {0x10, 0, 16}, {0, 0, 0},         {0, 1, 1500000},   {15, 254, 366},
    };
    for (const auto& c : cases) {
        FanSpeedFilter filter;
        std::uint32_t divisor = 2;
        EXPECT_EQ(ConvertFanReading(0x92, c.high, c.low, divisor, filter), c.rpm)
            << int(c.high) << "/" << int(c.low);
        EXPECT_EQ(divisor, c.high);
        EXPECT_FALSE(filter.warmedUp);
        EXPECT_EQ(filter.historyLength, 0u);
    }
}

class FanFilterTest : public ::testing::Test {
  protected:
    FanSpeedFilter filter;
    std::uint32_t divisor = 2;

    std::uint32_t Read(std::uint8_t count) {
        return ConvertFanReading(0x21, 0xEE, count, divisor, filter);
    }
    void WarmUp(std::uint8_t count) {
        for (int i = 0; i < 4; ++i)
            Read(count);
    }
    void ExpectNoReading(std::uint8_t count, std::uint32_t fanDivisor) {
        const FanSpeedFilter before = filter;
        EXPECT_EQ(ConvertFanCount(count, fanDivisor, filter), 0u);
        EXPECT_EQ(filter.warmedUp, before.warmedUp);
        EXPECT_EQ(filter.lastGoodCount, before.lastGoodCount);
        EXPECT_EQ(filter.historyLength, before.historyLength);
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(filter.history[k], before.history[k]);
    }
};

TEST_F(FanFilterTest, WarmUpTakesExactlyFourSamples) {
    EXPECT_EQ(Read(100), 6750u);
    Read(100);
    Read(100);
    EXPECT_FALSE(filter.warmedUp);
    Read(100);
    EXPECT_TRUE(filter.warmedUp);
    EXPECT_EQ(filter.historyLength, 4u);
    EXPECT_EQ(divisor, 2u);
}

TEST_F(FanFilterTest, WarmUpCapsAt9000Rpm) {
    EXPECT_EQ(Read(60), 9000u); // 11250 RPM: the count of 9000 RPM (75) is taken
    EXPECT_EQ(filter.lastGoodCount, 75);
    EXPECT_EQ(filter.history[0], 75);
    EXPECT_EQ(Read(0), 9000u); // a count of 0 is taken as 1
}

TEST_F(FanFilterTest, ReadingIsTheMeanOfTheLastFiveCounts) {
    WarmUp(100);
    EXPECT_EQ(Read(105), 6683u); // 1350000 / (101 * 2)
    EXPECT_EQ(filter.lastGoodCount, 101);
    for (int i = 0; i < 5; ++i)
        Read(120);
    EXPECT_EQ(Read(120), 5625u);
    EXPECT_EQ(filter.historyLength, 4u);
}

TEST_F(FanFilterTest, SpikesAreReplacedByTheLastAverage) {
    WarmUp(100);
    Read(105); // last average 101
    // 20 and 170 are outside 22..167 and count as 101: the means stay at 101
    EXPECT_EQ(Read(20), 6683u);
    EXPECT_EQ(Read(170), 6683u);
    EXPECT_EQ(filter.history[3], 101);
    EXPECT_EQ(Read(22), 1350000u / (2 * ((100 + 105 + 101 + 101 + 22) / 5)));
}

TEST_F(FanFilterTest, AcceptedCountsAre22To167) {
    const struct {
        std::uint8_t count, accepted;
    } cases[] = {{21, 100}, {22, 22}, {167, 167}, {168, 100}};
    for (const auto& c : cases) {
        filter = FanSpeedFilter();
        WarmUp(100);
        Read(c.count);
        EXPECT_EQ(filter.history[3], c.accepted) << int(c.count);
    }
}

TEST_F(FanFilterTest, NoReadingLeavesTheFilterAlone) {
    Read(100);
    Read(110);
    ExpectNoReading(255, 2);  // count 255
    ExpectNoReading(200, 16); // 421 RPM, below 500
    ExpectNoReading(100, 0);  // divisor 0 cannot be divided
}

TEST_F(FanFilterTest, RestartKeepsTheLastCountAndHistory) {
    WarmUp(100);
    Read(105);
    filter.Restart();
    EXPECT_FALSE(filter.warmedUp);
    EXPECT_EQ(filter.historyLength, 0u);
    EXPECT_EQ(filter.lastGoodCount, 101);
    EXPECT_EQ(filter.history[3], 105);
    EXPECT_EQ(Read(150), 4500u); // warm-up again: taken as it is
}

TEST(SensorConversions, TemperatureDecoding) {
    const struct {
        std::uint8_t chip, raw;
        int expected;
    } cases[] = {
        {0x21, 0xE2, 256}, {0x21, 0x80, 256}, {0x21, 0xE3, -29}, {0x60, 0xFF, -1},
        {0x90, 0, 0},      {0x91, 120, 120},  {0x21, 121, 256},  {0x92, 200, 140},
        {0x92, 255, 140},  {0x92, 140, 140},  {0x92, 0xE3, 140}, {0x92, 100, 100},
    };
    for (const auto& c : cases) {
        MovingAverage average;
        EXPECT_EQ(DecodeTemperature(c.chip, 0, c.raw, 1, average), c.expected)
            << "chip " << int(c.chip) << " raw " << int(c.raw);
        EXPECT_EQ(average.Count(), 0) << "only the CPU channel feeds the average";
    }
}

TEST(SensorConversions, CpuTemperatureIsTheAverageOfUnsignedBytes) {
    MovingAverage average;
    int reading = 0;
    for (int i = 0; i < 10; ++i)
        reading = DecodeTemperature(0x21, 2, i % 2 ? 255 : 0, 2, average);
    EXPECT_EQ(average.GetAverage(), 127);
    EXPECT_EQ(reading, 256);

    MovingAverage single;
    EXPECT_EQ(DecodeTemperature(0x21, 0, 0xE3, 0, single), -29);
    MovingAverage chip92;
    DecodeTemperature(0x92, 1, 200, 1, chip92);
    EXPECT_EQ(DecodeTemperature(0x92, 1, 60, 1, chip92), 130);
}

TEST(SensorConversions, MovingAverage) {
    MovingAverage average;
    EXPECT_EQ(average.GetAverage(), 0);
    average.AddSample(30);
    average.AddSample(40);
    EXPECT_EQ(average.GetAverage(), 35);

    average.Init();
    EXPECT_EQ(average.Count(), 0);
    average.AddSample(1);
    average.AddSample(2);
    EXPECT_EQ(average.GetAverage(), 1);

    average.Init();
    for (int v = 1; v <= 11; ++v)
        average.AddSample(v);
    EXPECT_EQ(average.Count(), 10);
    EXPECT_EQ(average.GetAverage(), 6); // (2 + ... + 11) / 10

    average.Init();
    average.AddSample(-1);
    average.AddSample(-2);
    EXPECT_EQ(average.GetAverage(), -1); // toward zero
}

TEST(SensorConversions, VoltageTexts) {
    EXPECT_EQ(FormatVoltageText(1234, false), "1.234 V");
    EXPECT_EQ(FormatVoltageText(5, false), "0.005 V");
    EXPECT_EQ(FormatVoltageText(12000, false), "12.000 V");
    EXPECT_EQ(FormatVoltageText(6685, true), "-6.685 V");
    EXPECT_EQ(FormatVoltageText(1600, true), "-1.600 V");
    EXPECT_EQ(FormatVoltageText(4294967295u, false), "4294967.295 V");

    EXPECT_EQ(FormatVoltageLimitText(3300, false), "3.3 V");
    EXPECT_EQ(FormatVoltageLimitText(12000, true), "-12.0 V");
    EXPECT_EQ(FormatVoltageLimitText(50, false), "0.0 V");
    EXPECT_EQ(FormatVoltageLimitText(1999, false), "1.9 V");
}

TEST(SensorConversions, TemperatureTexts) {
    const struct {
        int celsius;
        const char* language;
        std::string expected;
    } cases[] = {
        {45, "ENGLISH",
         "45\xB0"
         "C/113\xB0"
         "F"},
        {-5, "ENGLISH",
         "-5\xB0"
         "C/23\xB0"
         "F"},
        {-29, "GERMAN",
         "-29\xB0"
         "C/-20\xB0"
         "F"}, // -261 / 5 truncates toward zero
        {60, "JAPANESE",
         "60\xA2"
         "J/140\xA2"
         "K"},
        {60, "KOREAN",
         "60\xA2"
         "J/140\xA2"
         "K"},
        {60, "CHINESE_SIMPLIFIED",
         "60\xA2"
         "J/140\xA2"
         "K"},
        {0, "CHINESE_TRADITIONAL",
         "0\xA2"
         "J/32\xA2"
         "K"},
        {60, "japanese",
         "60\xB0"
         "C/140\xB0"
         "F"}, // the names match exactly
        {60, "CHINESE",
         "60\xB0"
         "C/140\xB0"
         "F"},
        {60, "",
         "60\xB0"
         "C/140\xB0"
         "F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTemperatureText(c.celsius, c.language), c.expected) << c.language;
}

} // namespace

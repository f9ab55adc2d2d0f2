// Conversions of the driver's raw sensor bytes into millivolts, RPM and degrees Celsius, the
// smoothing state kept between polling ticks, and the display texts of the readings. Everything
// here is plain values in and out: the chip id, the system language and the smoothing state are
// passed by the caller.
#pragma once

#include <cstdint>
#include <string>

namespace monitor {

// Hardware-monitor chips with rules of their own; every other chip id follows the common rules.
constexpr std::uint8_t kChip91 = 0x91;
constexpr std::uint8_t kChip92 = 0x92;

// A temperature reading that stands for "no reading" (shown as "N/A").
constexpr int kNoTemperature = 256;

// --- voltages (millivolts) -----------------------------------------------------------------

// The conversion kind of voltage input 0..8 on a chip: 0, 1 or 2.
int VoltageKind(std::uint8_t chipId, int input);

// Positive rail of the given kind. Kind 2 is trunc(raw * 4.88) + 700 whatever the divider; the
// other kinds are raw * step, scaled by the divider (R1 + R2) / R2 in 64-bit arithmetic,
// multiplying first. Without a divider (R1 + R2 == 0), and also when R2 is 0, the reading is the
// undivided raw * step.
std::uint32_t ConvertVoltage(std::uint8_t chipId, int kind, std::uint32_t raw, std::uint32_t r1,
                             std::uint32_t r2);

// Magnitude of a negative rail: (3600 - raw * 16) * (R1 + R2) / R2 - 3600, or raw * 16 without a
// divider (or with R2 == 0). A rail the formula puts at or above 0 V reads 0.
std::uint32_t ConvertNegativeVoltage(std::uint32_t raw, std::uint32_t r1, std::uint32_t r2);

// The reading of voltage input 0..8 from its raw byte: 0 for raw 255, else the negative-rail or
// the chip's positive-rail conversion.
std::uint32_t VoltageReading(std::uint8_t chipId, int input, std::uint8_t raw, std::uint32_t r1,
                             std::uint32_t r2, bool negativeRail);

// A channel's symbol text marks a negative rail when it is exactly "-".
inline bool IsNegativeRailSymbol(const std::string& symbol) {
    return symbol == "-";
}

// --- fans (RPM) ----------------------------------------------------------------------------

// Smoothing of one fan's 8-bit counts on the chips with a fan divisor: four warm-up samples, then
// counts outside 22..167 are replaced by the last accepted one and each reading is the mean of the
// last five accepted counts.
class FanSpeedFilter {
  public:
    bool warmedUp = false;
    std::uint8_t lastGoodCount = 0;
    std::uint8_t history[5] = {};
    std::uint32_t historyLength = 0;

    // Starts the warm-up again; the last count and the history keep their values.
    void Restart() {
        warmedUp = false;
        historyLength = 0;
    }
};

// Chip 0x92: the 12-bit count of the high and low bytes as RPM; high 15 with low 255 is a stopped
// fan, and a count of 0 reads as the high byte itself.
std::uint32_t ConvertFan92(std::uint8_t high, std::uint8_t low);

// Other chips: the RPM of a count with the fan's divisor, through the fan's filter. Readings
// below 500 RPM and the count 255 give 0 and leave the filter as it was.
std::uint32_t ConvertFanCount(std::uint8_t count, std::uint32_t divisor, FanSpeedFilter& filter);

// One fan's reading from its two reply bytes (the high count bits and the count). On chip 0x92
// the high byte is also stored as the fan's divisor; on the other chips the filter is updated.
std::uint32_t ConvertFanReading(std::uint8_t chipId, std::uint8_t highByte, std::uint8_t countByte,
                                std::uint32_t& divisor, FanSpeedFilter& filter);

// --- temperatures (degrees Celsius) --------------------------------------------------------

// The mean of the last ten integer samples (newest first; unfilled slots hold 0).
class MovingAverage {
  public:
    MovingAverage() { Init(); }

    void Init();
    void AddSample(int value);
    // The mean computed at the last addition, truncated toward zero; 0 before any.
    int GetAverage() const { return average_; }
    int Count() const { return count_; }

  private:
    int count_ = 0;
    int samples_[10] = {};
    int average_ = 0;
};

// The chip's reading of a temperature value: on chip 0x92 values above 140 become 140; on the
// other chips the low byte is signed and values of -30 or less, or above 120, become 256.
int DecodeTemperatureValue(std::uint8_t chipId, int value);

// Temperature channel 0..2 from its raw byte. The CPU's channel first adds the unsigned raw byte
// to the average and decodes the average instead.
int DecodeTemperature(std::uint8_t chipId, int channel, std::uint8_t raw, int cpuTempIndex,
                      MovingAverage& cpuTempAverage);

// --- display texts -------------------------------------------------------------------------

// A reading as "1.234 V" (with a leading '-' on a negative rail).
std::string FormatVoltageText(std::uint32_t millivolts, bool negativeRail);

// A voltage limit as "3.3 V" (tenths of a volt, the rest dropped; '-' on a negative rail).
std::string FormatVoltageLimitText(int millivolts, bool negativeRail);

// The languages whose temperature texts use the double-byte degree signs.
bool UsesDoubleByteDegreeSigns(const std::string& systemLanguage);

// Celsius and Fahrenheit as "45°C/113°F" (degree sign byte 176), or with the double-byte signs
// 0xA2 0x4A and 0xA2 0x4B for the East Asian languages. Used for readings and limits alike.
std::string FormatTemperatureText(int celsius, const std::string& systemLanguage);

} // namespace monitor

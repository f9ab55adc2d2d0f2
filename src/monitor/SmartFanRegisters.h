// The smart fan's chip registers and the one place that encodes them: fan counts (12 bits, high
// part first), speeds, duties, the mode code and the duty register's percentages. The page, the
// presets, the curve, the tick refresh, the start-up and the duty-cycle window all go through
// here; none of them does this arithmetic itself.
//
// Counts and speeds are divisors here. Nothing divides by zero: a count of 0 is 0 RPM, a full
// speed of 0 gives the duty 0, and a speed of 0 is the count 0xFFF (the chip's "stopped").
#pragma once

#include "monitor/Driver.h"
#include "os/System.h"

#include <cstdint>

namespace monitor {

namespace fanreg {
constexpr std::uint8_t kFullSpeedCount = 0x0A; // and 0x0B: the fastest count seen
constexpr std::uint8_t kCurrentCount = 0x20;   // and 0x21: the fan's count now
constexpr std::uint8_t kMode = 0x60;
constexpr std::uint8_t kDuty = 0x6B;
constexpr std::uint8_t kFullTemp = 0xA0;
constexpr std::uint8_t kMidTemp = 0xA1;
constexpr std::uint8_t kLowTemp = 0xA2;
constexpr std::uint8_t kFullCount = 0xA4; // and 0xA5
constexpr std::uint8_t kMidCount = 0xA6;  // and 0xA7
constexpr std::uint8_t kLowCount = 0xA8;  // and 0xA9
// Register 0x60 reads this while the chip is not ready.
constexpr std::uint8_t kModeNotReady = 0xFF;
// At most this many reads wait for the mode register to leave kModeNotReady.
constexpr int kModeReadLimit = 255;
} // namespace fanreg

// The BIOS snapshot: the registers 0x60, 0x6B, 0xA0 to 0xA2 and 0xA4 to 0xA9 in this order, and
// their keys in [BIOSSET].
constexpr int kSnapshotSize = 11;
extern const std::uint8_t kSnapshotRegisters[kSnapshotSize];
extern const char* const kBiosSetKeys[kSnapshotSize];

// The count of a stopped fan, and of any speed too slow for 12 bits.
constexpr std::uint32_t kStoppedCount = 0xFFF;
constexpr std::uint32_t kRpmCountProduct = 1500000;

// The count of the two registers as the chip means it: ((high & 0x0F) << 8) + low.
inline std::uint32_t MaskedCount(std::uint8_t high, std::uint8_t low) {
    return (static_cast<std::uint32_t>(high & 0x0F) << 8) + low;
}
// The two registers taken as one 16-bit value, (high << 8) + low, without the mask.
inline std::uint32_t RawCount(std::uint8_t high, std::uint8_t low) {
    return (static_cast<std::uint32_t>(high) << 8) + low;
}

// 1500000 / count; 0 for a count of 0.
std::uint32_t RpmOfCount(std::uint32_t count);
// 1500000 / rpm; 0xFFF (stopped) for 0 RPM. Above 0xFFF only the low 12 bits reach the chip.
std::uint32_t CountOfRpm(std::uint32_t rpm);
// A speed held to 16 bits: above 65535 gives 65535.
std::uint16_t HeldSpeed(std::uint32_t rpm);
// The speed of a duty point: trunc(duty * fullSpeedRpm / 100), held to 16 bits (0 for a negative
// product).
std::uint16_t SpeedOfDuty(int duty, double fullSpeedRpm);
// The full speed as a point speed: trunc(fullSpeedRpm), held to 16 bits.
std::uint16_t FullSpeedOf(double fullSpeedRpm);
// The duty of a speed: trunc(rpm * 100 / fullSpeedRpm), held to a byte (above 255 gives 255);
// 0 when the full speed is not above 0.
std::uint8_t DutyOfSpeed(std::uint32_t rpm, double fullSpeedRpm);
// The mode code of a mode register value: (value & 3) | 4, that is 4 full speed, 5 by
// temperature, 6 by duty cycle (7 for the unused fourth setting).
inline int ModeCode(std::uint8_t modeRegister) {
    return (modeRegister & 3) | 4;
}
// The mode box item of a mode code: 5 "By Temperature" (2), 6 "By Duty-Cycle" (1), else
// "Full Speed" (0).
inline int ModeItemOfCode(int code) {
    return code == 5 ? 2 : code == 6 ? 1 : 0;
}
// The duty register value of a percentage: trunc(percent * 2.55) with 2.55 the nearest double,
// which lies slightly below 2.55, so that 20, 40, 60, 80 and 100 give 50, 101, 152, 203 and 254.
// Exactly (percent * 255 - 1) / 100 for percent 1 to 100, and 0 for 0.
std::uint8_t DutyRegisterOfPercent(int percent);
// A value held to low..high.
inline int HeldTo(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

// Register requests on one device handle, with the driver's failure messages. Counts go to the
// chip high part first.
class FanRegisters {
  public:
    FanRegisters(Driver& driver, os::Handle device) : driver_(driver), device_(device) {}

    std::uint8_t Read(std::uint8_t reg) { return driver_.ReadFanRegister(device_, reg); }
    void Write(std::uint8_t reg, std::uint8_t value) {
        driver_.WriteFanRegister(device_, reg, value);
    }
    // (count >> 8) & 0x0F to `highReg`, then count & 0xFF to highReg + 1.
    void WriteCount(std::uint8_t highReg, std::uint32_t count);
    // Reads `highReg`, then highReg + 1.
    std::uint32_t ReadMaskedCount(std::uint8_t highReg);
    std::uint32_t ReadRawCount(std::uint8_t highReg);
    // Reads the mode register until it is not 0xFF, at most kModeReadLimit times; a failed read
    // ends the wait. Gives the last byte read.
    std::uint8_t ReadModeWhenReady();

  private:
    Driver& driver_;
    os::Handle device_;
};

} // namespace monitor

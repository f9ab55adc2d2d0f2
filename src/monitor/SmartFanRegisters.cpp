#include "monitor/SmartFanRegisters.h"

namespace monitor {

const std::uint8_t kSnapshotRegisters[kSnapshotSize] = {
    fanreg::kMode, fanreg::kDuty, 0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9};
const char* const kBiosSetKeys[kSnapshotSize] = {"CONTROL", "PWMDUTY", "T1",  "T2",  "T3", "F1H",
                                                 "F1L",     "F2H",     "F2L", "F3H", "F3L"};

namespace {
constexpr std::uint32_t kSpeedLimit = 65535;
constexpr std::uint32_t kByteLimit = 255;

// trunc(value) held to 0..limit; a NaN gives 0.
std::uint32_t TruncatedWithin(double value, std::uint32_t limit) {
    if (!(value > 0)) return 0;
    if (value >= static_cast<double>(limit)) return limit;
    return static_cast<std::uint32_t>(value);
}
} // namespace

std::uint32_t RpmOfCount(std::uint32_t count) {
    return count == 0 ? 0 : kRpmCountProduct / count;
}

std::uint32_t CountOfRpm(std::uint32_t rpm) {
    return rpm == 0 ? kStoppedCount : kRpmCountProduct / rpm;
}

std::uint16_t HeldSpeed(std::uint32_t rpm) {
    return static_cast<std::uint16_t>(rpm > kSpeedLimit ? kSpeedLimit : rpm);
}

std::uint16_t SpeedOfDuty(int duty, double fullSpeedRpm) {
    return static_cast<std::uint16_t>(TruncatedWithin(duty * fullSpeedRpm / 100, kSpeedLimit));
}

std::uint16_t FullSpeedOf(double fullSpeedRpm) {
    return static_cast<std::uint16_t>(TruncatedWithin(fullSpeedRpm, kSpeedLimit));
}

std::uint8_t DutyOfSpeed(std::uint32_t rpm, double fullSpeedRpm) {
    if (!(fullSpeedRpm > 0)) return 0;
    return static_cast<std::uint8_t>(TruncatedWithin(rpm * 100.0 / fullSpeedRpm, kByteLimit));
}

std::uint8_t DutyRegisterOfPercent(int percent) {
    if (percent <= 0) return 0;
    return static_cast<std::uint8_t>((percent * 255 - 1) / 100);
}

void FanRegisters::WriteCount(std::uint8_t highReg, std::uint32_t count) {
    Write(highReg, static_cast<std::uint8_t>((count >> 8) & 0x0F));
    Write(static_cast<std::uint8_t>(highReg + 1), static_cast<std::uint8_t>(count & 0xFF));
}

std::uint32_t FanRegisters::ReadMaskedCount(std::uint8_t highReg) {
    std::uint8_t high = Read(highReg);
    return MaskedCount(high, Read(static_cast<std::uint8_t>(highReg + 1)));
}

std::uint32_t FanRegisters::ReadRawCount(std::uint8_t highReg) {
    std::uint8_t high = Read(highReg);
    return RawCount(high, Read(static_cast<std::uint8_t>(highReg + 1)));
}

std::uint8_t FanRegisters::ReadModeWhenReady() {
    std::uint8_t value = fanreg::kModeNotReady;
    for (int read = 0; read < fanreg::kModeReadLimit; ++read) {
        bool ok = true;
        value = driver_.ReadFanRegister(device_, fanreg::kMode, &ok);
        if (!ok || value != fanreg::kModeNotReady) break;
    }
    return value;
}

} // namespace monitor

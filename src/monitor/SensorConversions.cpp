#include "monitor/SensorConversions.h"

#include <cstdio>

namespace monitor {

namespace {

constexpr std::uint32_t kFanCountRpm = 1350000; // RPM times count times divisor
constexpr std::uint32_t kFan92CountRpm = 1500000;
constexpr std::uint32_t kWarmUpCapRpm = 9000;
constexpr std::uint32_t kNegativeRailReference = 3600;

std::uint32_t VoltageStep(std::uint8_t chipId, int kind) {
    if (kind == 1) {
        if (chipId == kChip91) return 27;
        if (chipId == kChip92) return 8;
    }
    return 16;
}

// RPM of a count and divisor; a product of 0 cannot be divided and reads as 0.
std::uint32_t CountToRpm(std::uint32_t count, std::uint32_t divisor) {
    const std::uint32_t product = count * divisor;
    return product == 0 ? 0 : kFanCountRpm / product;
}

// A reading beyond 32 bits (no real rail gives one) shows as the largest reading rather than as
// a wrapped small one.
std::uint32_t Saturated(std::uint64_t millivolts) {
    return millivolts > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(millivolts);
}

} // namespace

int VoltageKind(std::uint8_t chipId, int input) {
    if (chipId == kChip92) return (input == 0 || input == 7 || input == 8) ? 0 : 1;
    if (input == 3 || input == 8) return 1;
    if (input == 0 && chipId == kChip91) return 2;
    return 0;
}

std::uint32_t ConvertVoltage(std::uint8_t chipId, int kind, std::uint32_t raw, std::uint32_t r1,
                             std::uint32_t r2) {
    if (kind == 2) {
        // raw * 4.88 truncated, computed exactly in integers so every build truncates alike.
        return raw * 488 / 100 + 700;
    }
    const std::uint32_t undivided = raw * VoltageStep(chipId, kind);
    if (r2 == 0) return undivided;
    // 64 bits: a divider given in ohms (R1 = 1,000,000) overflows 32.
    const std::uint64_t sum = static_cast<std::uint64_t>(r1) + r2;
    return Saturated(undivided * sum / r2);
}

std::uint32_t ConvertNegativeVoltage(std::uint32_t raw, std::uint32_t r1, std::uint32_t r2) {
    if (r2 == 0) return raw * 16;
    const std::uint64_t sum = static_cast<std::uint64_t>(r1) + r2;
    const std::int64_t scaled =
        (static_cast<std::int64_t>(kNegativeRailReference) - static_cast<std::int64_t>(raw) * 16) *
        static_cast<std::int64_t>(sum) / static_cast<std::int64_t>(r2);
    const std::int64_t magnitude = scaled - kNegativeRailReference;
    // At or above 0 V there is no magnitude to show.
    return magnitude > 0 ? Saturated(static_cast<std::uint64_t>(magnitude)) : 0;
}

std::uint32_t VoltageReading(std::uint8_t chipId, int input, std::uint8_t raw, std::uint32_t r1,
                             std::uint32_t r2, bool negativeRail) {
    if (raw == 255) return 0;
    if (negativeRail) return ConvertNegativeVoltage(raw, r1, r2);
    return ConvertVoltage(chipId, VoltageKind(chipId, input), raw, r1, r2);
}

std::uint32_t ConvertFan92(std::uint8_t high, std::uint8_t low) {
    if (high == 15 && low == 255) return 0;
    const std::uint32_t count = ((static_cast<std::uint32_t>(high) << 8) | low) & 0xFFF;
    return count != 0 ? kFan92CountRpm / count : high;
}

std::uint32_t ConvertFanCount(std::uint8_t rawCount, std::uint32_t divisor,
                              FanSpeedFilter& filter) {
    std::uint8_t count = rawCount == 0 ? 1 : rawCount;
    const std::uint32_t estimate = CountToRpm(count, divisor);
    if (estimate < 500 || count == 255) return 0;
    if (!filter.warmedUp) {
        if (estimate > 10000)
            count = static_cast<std::uint8_t>(kFanCountRpm / (divisor * kWarmUpCapRpm));
        filter.lastGoodCount = count;
        if (filter.historyLength < 5) filter.history[filter.historyLength] = count;
        ++filter.historyLength;
        if (filter.historyLength > 3) filter.warmedUp = true;
    } else {
        if (count <= 21 || count >= 168) count = filter.lastGoodCount;
        std::uint32_t length = filter.historyLength < 4 ? filter.historyLength : 4;
        filter.history[length] = count;
        std::uint32_t sum = 0;
        for (std::uint32_t k = 0; k <= length; ++k)
            sum += filter.history[k];
        const std::uint8_t average = static_cast<std::uint8_t>(sum / (length + 1));
        if (length < 4) ++length;
        for (std::uint32_t k = 0; k < length; ++k)
            filter.history[k] = filter.history[k + 1];
        filter.historyLength = length;
        filter.lastGoodCount = average;
        count = average;
    }
    return CountToRpm(count, divisor);
}

std::uint32_t ConvertFanReading(std::uint8_t chipId, std::uint8_t highByte, std::uint8_t countByte,
                                std::uint32_t& divisor, FanSpeedFilter& filter) {
    if (chipId == kChip92) {
        divisor = highByte;
        return ConvertFan92(highByte, countByte);
    }
    return ConvertFanCount(countByte, divisor, filter);
}

void MovingAverage::Init() {
    count_ = 0;
    for (int& sample : samples_)
        sample = 0;
    average_ = 0;
}

void MovingAverage::AddSample(int value) {
    std::int64_t sum = 0;
    for (int k = 8; k >= 0; --k) {
        sum += samples_[k];
        samples_[k + 1] = samples_[k];
    }
    samples_[0] = value;
    sum += value;
    if (count_ < 10) ++count_;
    average_ = static_cast<int>(sum / count_);
}

int DecodeTemperatureValue(std::uint8_t chipId, int value) {
    if (chipId == kChip92) return value > 140 ? 140 : value;
    const int low = value & 0xFF;
    const int signedValue = low >= 128 ? low - 256 : low;
    if (signedValue <= -30 || signedValue > 120) return kNoTemperature;
    return signedValue;
}

int DecodeTemperature(std::uint8_t chipId, int channel, std::uint8_t raw, int cpuTempIndex,
                      MovingAverage& cpuTempAverage) {
    int value = raw;
    if (channel == cpuTempIndex) {
        cpuTempAverage.AddSample(raw);
        value = cpuTempAverage.GetAverage();
    }
    return DecodeTemperatureValue(chipId, value);
}

std::string FormatVoltageText(std::uint32_t millivolts, bool negativeRail) {
    char text[32];
    std::snprintf(text, sizeof text, negativeRail ? "-%01u.%03u V" : "%01u.%03u V",
                  static_cast<unsigned>(millivolts / 1000),
                  static_cast<unsigned>(millivolts % 1000));
    return text;
}

std::string FormatVoltageLimitText(int millivolts, bool negativeRail) {
    char text[32];
    std::snprintf(text, sizeof text, negativeRail ? "-%01d.%01d V" : "%01d.%01d V",
                  millivolts / 1000, (millivolts % 1000) / 100);
    return text;
}

bool UsesDoubleByteDegreeSigns(const std::string& systemLanguage) {
    return systemLanguage == "JAPANESE" || systemLanguage == "KOREAN" ||
           systemLanguage == "CHINESE_SIMPLIFIED" || systemLanguage == "CHINESE_TRADITIONAL";
}

std::string FormatTemperatureText(int celsius, const std::string& systemLanguage) {
    const int fahrenheit = celsius * 9 / 5 + 32;
    char text[48];
    if (UsesDoubleByteDegreeSigns(systemLanguage))
        std::snprintf(text, sizeof text, "%d\242J/%d\242K", celsius, fahrenheit);
    else
        std::snprintf(text, sizeof text, "%d%cC/%d%cF", celsius, 176, fahrenheit, 176);
    return text;
}

} // namespace monitor

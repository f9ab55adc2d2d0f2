// The main window's settings block: one record per channel, the logo panel, the password, the
// NT4 shutdown batch file and the shutdown-happened flag.
#pragma once

#include <cstdint>
#include <string>

namespace monitor {

struct TFAN {
    bool Enabled = false;
    std::uint32_t Value = 0; // last reading in RPM
    std::string Name;
    bool Monitor = false;
    std::uint32_t LowLimit = 0;
    std::uint32_t HighLimit = 0;
    // From the driver at start; on chip 0x92 the high bits of the latest fan count.
    std::uint32_t Divisor = 0;
    std::string Hint;
};

struct TTEMPERATURE {
    bool Enabled = false;
    std::string Name;
    bool Monitor = false;
    std::int32_t LowLimit = 0;
    std::int32_t HighLimit = 0;
    std::int32_t Value = 0; // whole degrees Celsius; 256 stands for no reading
    std::string Hint;
};

struct TVOLTAGE {
    bool Enabled = false;
    std::string Name;
    bool Monitor = false;
    std::uint32_t LowLimit = 0;  // millivolts
    std::uint32_t HighLimit = 0; // millivolts
    std::uint32_t Value = 0;     // the raw byte, replaced by millivolts within the tick
    std::uint32_t R1 = 0;
    std::uint32_t R2 = 0;
    std::string Symbol; // "+" or "-" (a negative rail)
    std::string Hint;
};

struct TLOGO {
    bool Enabled = false;
    std::string FileName;
    bool Transparent = false;
    bool Stretch = false;
    bool Center = false;
    std::string Url;
};

constexpr int kFanCount = 3;
constexpr int kTempCount = 3;
constexpr int kVoltCount = 9;

struct _TORLO {
    TFAN Fan[kFanCount];
    TTEMPERATURE Temperature[kTempCount];
    TVOLTAGE Voltage[kVoltCount];
    TLOGO Logo;
    std::string Password;
    std::string Nt4BatchFile; // full path
    bool Shutdown = false;    // the last run ended in an automatic shutdown
};

} // namespace monitor

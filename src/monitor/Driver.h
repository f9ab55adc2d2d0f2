// The wire interface to the maker's driver, device \\.\ZarvoORLO: opening and closing it and
// every control code. Every request zero-fills its output first, so a failed reading hands back
// zeros.
#pragma once

#include "os/System.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>

namespace ui {
class Application;
}

namespace monitor {

enum : std::uint32_t {
    IOCTL_MBDRVR_READ_SENSORS = 0x22200C,
    IOCTL_MBDRVR_READ_MBID = 0x222010,
    IOCTL_SET_VCORE = 0x222014, // also IOCTL_RESET_VCORE
    IOCTL_MBDRVR_READ_PCI = 0x222018,
    IOCTL_MBDRVR_WRITE_P80 = 0x22201C,
    IOCTL_MBDRVR_SMART_FAN_SET = 0x222020,
    IOCTL_MBDRVR_SMART_FAN_PRESTATE = 0x222024,
    IOCTL_MBDRVR_SMART_FAN_RESOTRE = 0x222028,
    IOCTL_MBDRVR_SPEAKER_TONE = 0x22202C,
    IOCTL_MBDRVR_SPEAKER_OFF = 0x222030,
};

// 19 bytes, the same layout for request (1 = asked for) and reply (raw values): 0 chip id,
// 1-3 fan divisors (high count bits on chip 0x92), 4-6 fan counts, 7-9 temperatures,
// 10-18 voltages VIN0 to VIN8.
using SensorPacket = std::array<std::uint8_t, 19>;
using BoardIdBytes = std::array<std::uint8_t, 8>;

constexpr std::uint8_t kBiosSetRegisters[11] = {0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6,
                                                0xA7, 0xA8, 0xA9, 0x6B, 0x60};

class Driver {
  public:
    Driver(os::System& system, ui::Application& app) : system_(system), app_(app) {}

    // Up to 255 attempts one second apart, dispatching messages between them. On failure shows
    // "ORLO: Open Driver faild %d ! \n", terminates the application and returns kInvalidHandle.
    os::Handle OpenDriver();
    void CloseDriver();

    SensorPacket ReadSensors(os::Handle device, const SensorPacket& request);
    std::uint8_t SetVCore(os::Handle device, std::uint8_t setFlag, std::uint8_t value);
    void ReadBoardId(os::Handle device, BoardIdBytes& id);
    void ReadBiosIdWin9x(BoardIdBytes& id);
    bool ReadPciConfig(os::Handle device, std::uint8_t bus, std::uint8_t dev, std::uint8_t function,
                       std::uint8_t reg, std::uint32_t& dword);
    void ReportPostCode(os::Handle device, std::uint32_t pciDword, std::uint32_t value);
    // A failed read shows its message and gives 0; `ok` (when given) tells which it was.
    std::uint8_t ReadFanRegister(os::Handle device, std::uint8_t reg, bool* ok = nullptr);
    void WriteFanRegister(os::Handle device, std::uint8_t reg, std::uint8_t value);
    void RestoreFanRegisters(os::Handle device, const std::uint8_t registers[11],
                             const std::uint8_t values[11]);
    void SpeakerTone(os::Handle device, std::uint8_t high, std::uint8_t low);
    void SpeakerOff(os::Handle device);

  private:
    bool Request(os::Handle device, std::uint32_t code, const void* in, std::uint32_t inSize,
                 void* out, std::uint32_t outSize);
    // A failed request's message box. While a box of the same text is open, a request that
    // fails the same way inside its loop (a polling tick runs there) stacks no second box on it:
    // a fault that persists would pile them up without end.
    void ShowFailure(const std::string& text);

    os::System& system_;
    ui::Application& app_;
    os::Handle opened_ = os::kInvalidHandle;
    std::set<std::string> openFailures_;
};

// The report value of a temperature for the POST-code display: the decimal digits read as a
// hexadecimal number (45 becomes 0x45).
std::uint32_t PostCodeValue(std::int32_t celsius);

} // namespace monitor

#include "monitor/Driver.h"

#include "monitor/SystemHelpers.h"
#include "ui/Application.h"

#include <cstdio>
#include <cstring>

namespace monitor {

namespace {
constexpr int kOpenAttempts = 255;
constexpr std::uint32_t kOpenRetryMs = 1000;
const char* const kDevicePath = "\\\\.\\ZarvoORLO";

void PutDword(std::uint8_t* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
} // namespace

os::Handle Driver::OpenDriver() {
    app_.SetScreenCursor(ui::TCursor::crAppStart);
    os::Handle handle = os::kInvalidHandle;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        handle = system_.OpenDevice(kDevicePath);
        if (handle != os::kInvalidHandle) break;
        std::uint32_t error = system_.GetLastError();
        app_.ProcessMessages();
        system_.Sleep(kOpenRetryMs);
        system_.SetLastError(error);
    }
    app_.SetScreenCursor(ui::TCursor::crDefault);
    if (handle != os::kInvalidHandle) {
        opened_ = handle;
        return handle;
    }
    app_.ShowMessage(
        FormatText("ORLO: Open Driver faild %d ! \n", static_cast<int>(system_.GetLastError())));
    app_.Terminate();
    return os::kInvalidHandle;
}

void Driver::CloseDriver() {
    if (opened_ == os::kInvalidHandle) return;
    system_.CloseHandle(opened_);
    opened_ = os::kInvalidHandle;
}

void Driver::ShowFailure(const std::string& text) {
    if (!openFailures_.insert(text).second) return;
    struct Closed {
        std::set<std::string>& open;
        const std::string& text;
        ~Closed() { open.erase(text); }
    } closed{openFailures_, text};
    app_.ShowMessage(text);
}

bool Driver::Request(os::Handle device, std::uint32_t code, const void* in, std::uint32_t inSize,
                     void* out, std::uint32_t outSize) {
    // A failed request leaves zeros, never stale or unset bytes, for the caller to take.
    if (out && outSize) std::memset(out, 0, outSize);
    std::uint32_t returned = 0;
    return system_.DeviceIoControl(device, code, in, inSize, out, outSize, &returned);
}

SensorPacket Driver::ReadSensors(os::Handle device, const SensorPacket& request) {
    SensorPacket reply{};
    Request(device, IOCTL_MBDRVR_READ_SENSORS, request.data(), request.size(), reply.data(),
            reply.size());
    return reply;
}

std::uint8_t Driver::SetVCore(os::Handle device, std::uint8_t setFlag, std::uint8_t value) {
    std::uint8_t in[2] = {setFlag, value};
    std::uint8_t out = 0;
    if (!Request(device, IOCTL_SET_VCORE, in, sizeof in, &out, sizeof out))
        ShowFailure(setFlag != 0 ? "IOCTL_SET_VCORE fail" : "IOCTL_RESET_VCORE fail");
    return out;
}

void Driver::ReadBoardId(os::Handle device, BoardIdBytes& id) {
    std::string os = GetOSName(system_, app_);
    if (os == "NT3" || os == "NT4" || os == "2000" || os == "XP" || os == "SERVER2003") {
        std::uint8_t out[16];
        if (!Request(device, IOCTL_MBDRVR_READ_MBID, nullptr, 0, out, sizeof out))
            ShowFailure("IOCTL_MBDRVR_READ_MBID");
        std::memcpy(id.data(), out + 4, id.size());
    } else {
        ReadBiosIdWin9x(id);
    }
}

void Driver::ReadBiosIdWin9x(BoardIdBytes& id) {
    // The local-descriptor-table selectors of privilege level 3: 7, 15, 23, ... up to 0xFFFF.
    for (std::uint32_t selector = 7; selector <= 0xFFFF; selector += 8) {
        os::LdtEntry entry;
        if (!system_.GetThreadSelectorEntry(selector, entry)) continue;
        std::uint32_t base = entry.baseLow | (std::uint32_t(entry.baseMid) << 16) |
                             (std::uint32_t(entry.baseHigh) << 24);
        std::uint32_t limit = entry.limitLow | (std::uint32_t(entry.flags2 & 0x0F) << 16);
        if (base == 0x000F0000 && limit == 0xFFFF) {
            for (size_t i = 0; i < id.size(); ++i)
                id[i] = system_.ReadSegmentByte(selector, 0xECE0 + static_cast<std::uint32_t>(i));
            return;
        }
    }
}

bool Driver::ReadPciConfig(os::Handle device, std::uint8_t bus, std::uint8_t dev,
                           std::uint8_t function, std::uint8_t reg, std::uint32_t& dword) {
    std::uint8_t in[8] = {bus, dev, function, reg, 0, 0, 0, 0};
    std::uint8_t out[8];
    if (!Request(device, IOCTL_MBDRVR_READ_PCI, in, sizeof in, out, sizeof out)) return false;
    dword = out[4] | (std::uint32_t(out[5]) << 8) | (std::uint32_t(out[6]) << 16) |
            (std::uint32_t(out[7]) << 24);
    return true;
}

std::uint32_t PostCodeValue(std::int32_t celsius) {
    std::string decimal = FormatText("%d", static_cast<int>(celsius));
    unsigned int value = 0;
    std::sscanf(decimal.c_str(), "%x", &value);
    return value;
}

void Driver::ReportPostCode(os::Handle device, std::uint32_t pciDword, std::uint32_t value) {
    std::uint8_t in[16] = {0x00, 0x1F, 0x00, 0x88};
    PutDword(in + 4, pciDword);
    PutDword(in + 8, 0x81);
    PutDword(in + 12, value);
    Request(device, IOCTL_MBDRVR_WRITE_P80, in, sizeof in, nullptr, 0);
}

std::uint8_t Driver::ReadFanRegister(os::Handle device, std::uint8_t reg, bool* ok) {
    std::uint8_t out = 0;
    bool done = Request(device, IOCTL_MBDRVR_SMART_FAN_PRESTATE, &reg, 1, &out, 1);
    if (ok) *ok = done;
    if (!done) ShowFailure("IOCTL_MBDRVR_SMART_FAN_PRESTATE fail");
    return out;
}

void Driver::WriteFanRegister(os::Handle device, std::uint8_t reg, std::uint8_t value) {
    std::uint8_t in[2] = {reg, value};
    if (!Request(device, IOCTL_MBDRVR_SMART_FAN_SET, in, sizeof in, nullptr, 0))
        ShowFailure("IOCTL_MBDRVR_SMART_FAN_SET fail");
}

void Driver::RestoreFanRegisters(os::Handle device, const std::uint8_t registers[11],
                                 const std::uint8_t values[11]) {
    std::uint8_t in[22];
    std::memcpy(in, registers, 11);
    std::memcpy(in + 11, values, 11);
    if (!Request(device, IOCTL_MBDRVR_SMART_FAN_RESOTRE, in, sizeof in, nullptr, 0))
        ShowFailure("IOCTL_MBDRVR_SMART_FAN_RESOTRE fail!!");
}

void Driver::SpeakerTone(os::Handle device, std::uint8_t high, std::uint8_t low) {
    std::uint8_t in[2] = {high, low};
    Request(device, IOCTL_MBDRVR_SPEAKER_TONE, in, sizeof in, nullptr, 0);
}

void Driver::SpeakerOff(os::Handle device) {
    Request(device, IOCTL_MBDRVR_SPEAKER_OFF, nullptr, 0, nullptr, 0);
}

} // namespace monitor

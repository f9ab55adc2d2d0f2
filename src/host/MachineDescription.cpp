#include "host/MachineDescription.h"

#include "host/FolderPath.h"
#include "host/SandboxMachine.h"
#include "os/sim/HostFiles.h"
#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace host {

namespace {

const char* const kOverlayLibrary = "C:\\Program Files\\ZARVO\\ORLO\\skelvarind.dll";

// Comma-separated bytes, at most `size` of them, into the start of `to`.
bool ParseBytes(const std::string& text, unsigned char* to, std::size_t size) {
    std::vector<unsigned char> bytes;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        std::uint64_t value = 0;
        if (!ParseNumber(text.substr(start, comma - start), 255, value)) return false;
        bytes.push_back(static_cast<unsigned char>(value));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (bytes.size() > size) return false;
    std::copy(bytes.begin(), bytes.end(), to);
    return true;
}

} // namespace

// A whole number in decimal, or in hexadecimal behind "0x", of at most `max`; nothing else.
bool ParseNumber(const std::string& text, std::uint64_t max, std::uint64_t& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 16) return false;
    value = 0;
    for (char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0) return false;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > max) return false;
    }
    return true;
}

std::string ParseSecondsOption(const std::string& value, unsigned& seconds) {
    std::uint64_t number = 0;
    if (!ParseNumber(value, kMaxRunSeconds, number))
        return "--seconds takes a whole number of seconds up to " + std::to_string(kMaxRunSeconds) +
               ", not \"" + value + "\"";
    seconds = static_cast<unsigned>(number);
    return "";
}

int AnswerOptions(const char* command, const char* usage, const std::string& parsed, std::FILE* out,
                  const std::function<int()>& run) {
    if (parsed == "help") {
        std::fprintf(out, "usage: %s %s\n", command, usage);
        return 0;
    }
    if (!parsed.empty()) {
        std::fprintf(stderr, "%s: %s\n", command, parsed.c_str());
        return 2;
    }
    try {
        return run();
    } catch (const SandboxUnavailable& unavailable) {
        std::fprintf(stderr, "%s: %s\n", command, unavailable.what());
        return 1;
    }
}

std::string ApplyMachineDescription(os::sim::SimMachine& machine, const std::string& text) {
    os::sim::MachineConfig& config = machine.Config();
    BoardState& board = machine.Board();
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto fault = [&](const std::string& why) {
            return "line " + std::to_string(number) + " \"" + line + "\": " + why;
        };
        auto eq = line.find('=');
        if (eq == std::string::npos) return fault("not a key=value line");
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        std::uint64_t n = 0;
        auto number32 = [&](std::uint64_t max) { return ParseNumber(value, max, n); };
        if (key == "version") { // major.minor
            const auto dot = value.find('.');
            std::uint64_t minor = 0;
            if (!ParseNumber(value.substr(0, dot), 255, n) ||
                (dot != std::string::npos && !ParseNumber(value.substr(dot + 1), 255, minor)))
                return fault("the version is major.minor, such as 5.1");
            config.version.majorVersion = static_cast<std::uint32_t>(n);
            config.version.minorVersion = static_cast<std::uint32_t>(minor);
        } else if (key == "platform") {
            if (value != "9x" && value != "nt" && value != "win32s")
                return fault("the platform is 9x, nt or win32s");
            config.version.platformId = value == "9x"       ? os::kPlatformWin9x
                                        : value == "win32s" ? os::kPlatformWin32s
                                                            : os::kPlatformNT;
        } else if (key == "lcid") {
            if (!number32(0xFFFF)) return fault("the locale id is a number up to 0xFFFF");
            config.lcid = static_cast<std::uint32_t>(n);
        } else if (key == "ppi") {
            if (!number32(1000) || n == 0) return fault("pixels per inch are 1 to 1000");
            config.pixelsPerInch = static_cast<int>(n);
        } else if (key == "driver-after-ms") {
            if (value == "-1") {
                config.driverAppearsAfterMs = -1;
            } else if (number32(0xFFFFFFFFu)) {
                config.driverAppearsAfterMs = static_cast<std::int64_t>(n);
            } else {
                return fault("milliseconds, or -1 for never");
            }
        } else if (key == "chip") {
            if (!number32(255)) return fault("the chip id is a byte, such as 0x92");
            board.chip_id = static_cast<unsigned char>(n);
        } else if (key == "board-id") {
            if (value.size() > 8) return fault("the board id has at most 8 characters");
            for (size_t i = 0; i < 8; ++i)
                board.board_id[i] = i < value.size() ? static_cast<unsigned char>(value[i]) : 0;
        } else if (key == "bios-id") { // where the monitor reads the board id on Windows 9x
            if (value.size() > 8) return fault("the BIOS id has at most 8 characters");
            machine.PutBoardIdInBios(value);
        } else if (key == "fan-divisor" || key == "fan-count" || key == "temperature" ||
                   key == "voltage") {
            const bool nine = key == "voltage";
            unsigned char* bytes = key == "fan-divisor" ? board.fan_divisor
                                   : key == "fan-count" ? board.fan_count
                                   : nine               ? board.voltage
                                                        : board.temperature;
            if (!ParseBytes(value, bytes, nine ? 9 : 3))
                return fault(std::string("up to ") + (nine ? "9" : "3") +
                             " bytes (0 to 255), separated by commas");
        } else if (key == "fail-mask") {
            if (!number32(0xFFFFFFFFu)) return fault("the fail mask is a 32-bit number");
            board.fail_mask = static_cast<std::uint32_t>(n);
        } else if (key == "overlay-exports") { // names separated by commas; empty: no library
            std::vector<std::string> exports;
            std::istringstream names(value);
            for (std::string name; std::getline(names, name, ',');)
                exports.push_back(name);
            if (value.empty())
                machine.DeleteFile(kOverlayLibrary);
            else
                machine.WriteFile(kOverlayLibrary, os::sim::LibraryImage(exports));
        } else if (key == "fan-max-rpm") {
            if (!number32(0xFFFFFFFFu)) return fault("the fan's top speed is a 32-bit number");
            board.fan_max_rpm = static_cast<std::uint32_t>(n);
        } else if (key == "mode-not-ready-reads") {
            if (!number32(0xFFFFFFFFu)) return fault("a number of reads up to 0xFFFFFFFF");
            board.mode_busy_reads = static_cast<std::uint32_t>(n);
        } else if (key == "wow64" || key == "administrator" || key == "short-names") {
            if (value != "0" && value != "1") return fault("0 or 1");
            bool on = value == "1";
            if (key == "wow64")
                config.wow64 = on;
            else if (key == "administrator")
                config.administrator = on;
            else
                config.shortNames = on;
        } else if (key == "windows-folder") {
            const std::string why = FolderPathFault(value, false);
            if (!why.empty())
                return fault("a folder with its drive, such as D:\\WINNT (" + why + ")");
            config.windowsFolder = value;
        } else {
            return fault("unknown key " + key);
        }
    }
    machine.PrepareWindowsFolders();
    return "";
}

std::string ApplyMachineFile(os::sim::SimMachine& machine, const std::string& path) {
    const std::string option = "--machine " + path + ": ";
    if (os::sim::HostIsFolder(path)) return option + "a folder, not a file";
    // A device or a pipe could give bytes without end.
    if (os::sim::HostExists(path) && !os::sim::HostIsFile(path)) return option + "not a plain file";
    std::ifstream file(path, std::ios::binary);
    if (!file) return option + "cannot read the file";
    // Read one byte past the bound, which the file may have grown to since it was asked.
    std::string text(kMaxDescriptionBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > kMaxDescriptionBytes)
        return option + "more than the " + std::to_string(kMaxDescriptionBytes) +
               " bytes a description may have";
    const std::string error = ApplyMachineDescription(machine, text);
    return error.empty() ? "" : option + error;
}

} // namespace host

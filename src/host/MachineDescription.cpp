#include "host/MachineDescription.h"

#include "os/sim/SimMachine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace host {

namespace {

std::vector<std::uint8_t> ParseBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(item.c_str(), nullptr, 0)));
    return bytes;
}

void CopyBytes(const std::vector<std::uint8_t>& from, unsigned char* to, size_t size) {
    for (size_t i = 0; i < size && i < from.size(); ++i)
        to[i] = from[i];
}

} // namespace

std::string ApplyMachineDescription(os::sim::SimMachine& machine, const std::string& text) {
    os::sim::MachineConfig& config = machine.Config();
    BoardState& board = machine.Board();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos) return "not a key=value line: " + line;
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        auto number = [&] {
            return static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 0));
        };
        if (key == "version") { // major.minor
            config.version.majorVersion = number();
            auto dot = value.find('.');
            config.version.minorVersion =
                dot == std::string::npos ? 0
                                         : static_cast<std::uint32_t>(
                                               std::strtoul(value.c_str() + dot + 1, nullptr, 10));
        } else if (key == "platform") {
            config.version.platformId = value == "9x"       ? os::kPlatformWin9x
                                        : value == "win32s" ? os::kPlatformWin32s
                                                            : os::kPlatformNT;
        } else if (key == "lcid") {
            config.lcid = number();
        } else if (key == "ppi") {
            config.pixelsPerInch = static_cast<int>(number());
        } else if (key == "driver-after-ms") {
            config.driverAppearsAfterMs = std::strtoll(value.c_str(), nullptr, 10);
        } else if (key == "chip") {
            board.chip_id = static_cast<unsigned char>(number());
        } else if (key == "board-id") {
            for (size_t i = 0; i < 8; ++i)
                board.board_id[i] = i < value.size() ? static_cast<unsigned char>(value[i]) : 0;
        } else if (key == "fan-divisor") {
            CopyBytes(ParseBytes(value), board.fan_divisor, 3);
        } else if (key == "fan-count") {
            CopyBytes(ParseBytes(value), board.fan_count, 3);
        } else if (key == "temperature") {
            CopyBytes(ParseBytes(value), board.temperature, 3);
        } else if (key == "voltage") {
            CopyBytes(ParseBytes(value), board.voltage, 9);
        } else if (key == "fail-mask") {
            board.fail_mask = number();
        } else if (key == "wow64") {
            config.wow64 = number() != 0;
        } else if (key == "administrator") {
            config.administrator = number() != 0;
        } else if (key == "short-names") {
            config.shortNames = number() != 0;
        } else if (key == "windows-folder") {
            config.windowsFolder = value;
        } else {
            return "unknown key: " + key;
        }
    }
    machine.PrepareWindowsFolders();
    return "";
}

std::string ApplyMachineFile(os::sim::SimMachine& machine, const std::string& path) {
    std::ifstream file(path);
    if (!file) return "cannot read " + path;
    std::stringstream text;
    text << file.rdbuf();
    return ApplyMachineDescription(machine, text.str());
}

} // namespace host

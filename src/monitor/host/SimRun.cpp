#include "monitor/host/SimRun.h"

#include "monitor/MonitorProgram.h"
#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/HeadlessPlatform.h"
#include "ui/StdCtrls.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#ifndef ORLO_DATA_DIR
#define ORLO_DATA_DIR "data"
#endif

namespace fs = std::filesystem;

namespace monitor {

namespace {

const char* const kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";
const char* const kOverlayLibrary = "C:\\Program Files\\ZARVO\\ORLO\\skelvarind.dll";

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

std::string ColourName(ui::TColor colour) {
    switch (colour) {
    case ui::clRed:
        return "red";
    case ui::clLime:
        return "lime";
    case ui::clBlue:
        return "blue";
    case ui::clYellow:
        return "yellow";
    case ui::clGray:
        return "gray";
    case ui::clBlack:
        return "black";
    case ui::clWindowText:
        return "window-text";
    case ui::clBtnFace:
        return "button-face";
    case ui::clWindow:
        return "window";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "#%06X", colour);
        return text;
    }
    }
}

void Describe(const ui::Control& control, int depth, std::ostringstream& out) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << control.Name();
    if (!control.Caption().empty()) out << " \"" << control.Caption() << "\"";
    if (auto* box = dynamic_cast<const ui::TCheckBox*>(&control))
        out << (box->Checked() ? " [x]" : " [ ]");
    if (auto* updown = dynamic_cast<const ui::TUpDown*>(&control))
        out << " position " << updown->Position();
    if (auto* image = dynamic_cast<const ui::TImage*>(&control))
        if (!image->Picture().source.empty()) out << " picture " << image->Picture().source;
    if (auto* animate = dynamic_cast<const ui::TAnimate*>(&control))
        out << " frame " << animate->CurrentFrame() << " (" << animate->PlayCount() << " plays)";
    if (dynamic_cast<const ui::TEdit*>(&control) || dynamic_cast<const ui::TLabel*>(&control))
        out << " font " << ColourName(control.Font().Color);
    if (dynamic_cast<const ui::TEdit*>(&control)) out << " colour " << ColourName(control.Color());
    if (!control.Visible()) out << " (hidden)";
    if (!control.Enabled()) out << " (disabled)";
    out << "\n";
    for (const ui::Control* child : control.Children())
        Describe(*child, depth + 1, out);
}

} // namespace

std::string ParseSimRunArguments(const std::vector<std::string>& args, SimRunOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            options.programArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       args.end());
            return "";
        }
        if (arg == "--help" || arg == "-h") return "help";
        if (arg != "--seconds" && arg != "--machine" && arg != "--data")
            return "unknown option " + arg;
        if (i + 1 == args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        std::uint64_t seconds = 0;
        if (arg == "--seconds") {
            if (!ParseNumber(value, kMaxSimSeconds, seconds))
                return "--seconds takes a whole number of seconds up to " +
                       std::to_string(kMaxSimSeconds) + ", not \"" + value + "\"";
            options.seconds = static_cast<unsigned>(seconds);
        } else if (arg == "--machine") {
            options.machineFile = value;
        } else {
            options.dataDir = value;
        }
    }
    return "";
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
        } else {
            return fault("unknown key " + key);
        }
    }
    return "";
}

std::string DescribeWindows(os::sim::SimMachine& machine) {
    std::ostringstream out;
    for (os::WindowSink* sink : machine.Windows())
        if (auto* form = dynamic_cast<ui::Form*>(sink)) Describe(*form, 0, out);
    return out.str();
}

namespace {

// The machine's description and distribution files, as the options give them; an error text or "".
// The distribution files come first, with the overlay library beside them as the installer puts
// it (unless they hold one of their own), so that the description can change the library.
std::string PrepareMachine(os::sim::SimMachine& machine, const SimRunOptions& options) {
    const fs::path data =
        options.dataDir.empty() ? fs::path(ORLO_DATA_DIR) : fs::path(options.dataDir);
    if (!fs::is_directory(data)) return "--data " + data.string() + ": no such folder";
    machine.InstallFolder(data, kProgramFolder);
    if (!machine.FileExists(kOverlayLibrary))
        machine.WriteFile(kOverlayLibrary,
                          os::sim::LibraryImage({"InitInstance", "DestoryInstance",
                                                 "ShowTranslucentForm", "HideTranslucentForm",
                                                 "SetItems", "SetCPUTemperature", "SetCPUVCore"}));
    if (!options.machineFile.empty()) {
        std::ifstream file(options.machineFile);
        std::stringstream text;
        text << file.rdbuf();
        const std::string error =
            file ? ApplyMachineDescription(machine, text.str()) : "cannot read the file";
        if (!error.empty()) return "--machine " + options.machineFile + ": " + error;
    }
    return "";
}

int RunMonitor(os::sim::SimMachine& machine, const SimRunOptions& options, std::FILE* out) {
    auto process =
        machine.StartProcess(std::string(kProgramFolder) + "\\ORLO.EXE", options.programArgs);
    ui::HeadlessPlatform platform(*process);
    platform.OnTrace = [&machine](const std::string& line) { machine.Trace(line); };
    std::uint32_t end = machine.Tick() + options.seconds * 1000;
    platform.At(end, [&] {
        std::fprintf(out, "--- windows at the end of the run ---\n%s",
                     DescribeWindows(machine).c_str());
        std::fprintf(out, "--- end of the run: the user's session ends ---\n");
        // The session ends as the installer would stop the program.
        process->BroadcastMessage(process->RegisterWindowMessage("EXITZarvoORLO"), 0, 0);
    });
    int code = 0;
    try {
        code = MonitorMain(*process, platform);
    } catch (const ui::LoopStuck& stuck) {
        std::fprintf(out, "the program waits for something that can never come: %s\n",
                     stuck.what());
        code = 3;
    }
    std::fprintf(out, "exit code %d\n", code);
    return code;
}

} // namespace

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out) {
    fs::path sandbox = fs::temp_directory_path() / ("orlo-sim-" + std::to_string(::getpid()));
    fs::remove_all(sandbox);
    int code = 0;
    {
        os::sim::SimMachine machine(sandbox);
        machine.OnTrace = [out](const std::string& line) {
            std::fprintf(out, "%s\n", line.c_str());
        };
        const std::string error = PrepareMachine(machine, options);
        if (error.empty()) {
            code = RunMonitor(machine, options, out);
        } else {
            std::fprintf(stderr, "orlo-sim: %s\n", error.c_str());
            code = 2;
        }
    }
    fs::remove_all(sandbox);
    return code;
}

} // namespace monitor

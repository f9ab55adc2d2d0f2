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
        } else if (key == "overlay-exports") { // names separated by commas; empty: no library
            std::vector<std::string> exports;
            std::istringstream names(value);
            for (std::string name; std::getline(names, name, ',');)
                exports.push_back(name);
            if (value.empty())
                machine.DeleteFile(kOverlayLibrary);
            else
                machine.WriteFile(kOverlayLibrary, os::sim::LibraryImage(exports));
        } else {
            return "unknown key: " + key;
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

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out) {
    fs::path sandbox = fs::temp_directory_path() / ("orlo-sim-" + std::to_string(::getpid()));
    fs::remove_all(sandbox);
    int code = 0;
    {
        os::sim::SimMachine machine(sandbox);
        machine.OnTrace = [out](const std::string& line) {
            std::fprintf(out, "%s\n", line.c_str());
        };
        // The distribution files, and the overlay library with all its exports as the
        // installer puts it beside them (unless they hold one of their own).
        fs::path data =
            options.dataDir.empty() ? fs::path(ORLO_DATA_DIR) : fs::path(options.dataDir);
        machine.InstallFolder(data, kProgramFolder);
        if (!machine.FileExists(kOverlayLibrary))
            machine.WriteFile(
                kOverlayLibrary,
                os::sim::LibraryImage({"InitInstance", "DestoryInstance", "ShowTranslucentForm",
                                       "HideTranslucentForm", "SetItems", "SetCPUTemperature",
                                       "SetCPUVCore"}));
        if (!options.machineFile.empty()) {
            std::ifstream file(options.machineFile);
            std::stringstream text;
            text << file.rdbuf();
            std::string error = file ? ApplyMachineDescription(machine, text.str())
                                     : "cannot read " + options.machineFile;
            if (!error.empty()) {
                std::fprintf(stderr, "orlo-sim: %s\n", error.c_str());
                return 2;
            }
        }
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
        try {
            code = MonitorMain(*process, platform);
        } catch (const ui::LoopStuck& stuck) {
            std::fprintf(out, "the program waits for something that can never come: %s\n",
                         stuck.what());
            code = 3;
        }
        std::fprintf(out, "exit code %d\n", code);
    }
    fs::remove_all(sandbox);
    return code;
}

} // namespace monitor

// A test fixture for scenario tests of the monitor: a simulated machine in a fresh temporary
// sandbox with the distribution files (the source tree's data/) installed in the program folder,
// one monitor process on it with its headless platform, and helpers that run the monitor for some
// virtual time and look at what it left.
//
// Typical use:
//   SimFixture sim;                                  // or derive a ::testing::Test from it
//   sim.WriteProgramFile("A920.INI", "...");         // change the installed files
//   sim.At(2000, [](monitor::TForm1& f) { f.CheckBoxFan0.UserClick(); });
//   sim.RunFor(5000, [&](monitor::MonitorProgram& p) { /* look at the running program */ });
//   EXPECT_EQ(sim.ReadProgramFile("A920.INI"), "...");
//
// Times given to At() and RunFor() count from the start of the run (the moment the monitor's
// entry runs). A run ends by itself (a failed start-up) or at the end of RunFor with the exit
// message "EXITZarvoORLO", as the installer would stop the program; the windows are destroyed
// (and the final save runs) after that. Restart() prepares a further run on the same machine.
#pragma once

#include "host/Distribution.h"
#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class SimFixture {
  public:
    static constexpr const char* kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";
    static constexpr const char* kExe = "C:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE";
    // What the installed demo board INI holds beyond the shipped file: the smart fan at full
    // speed, as stored by an earlier start.
    static constexpr const char* kSmartFanConfigured = "\r\n[FINTEK]\r\nENABLED=4\r\n";

    // `config` is the machine's start configuration; the board is the simulated default
    // (chip 0x92, id "ZRV-A920") until the test changes machine->Board().
    explicit SimFixture(os::sim::MachineConfig config = {}) {
        machine = std::make_unique<os::sim::SimMachine>(sandbox_, config);
        InstallDistribution(kProgramFolder);
        Restart();
    }
    ~SimFixture() {
        platform.reset();
        process.reset();
        machine.reset();
    }
    SimFixture(const SimFixture&) = delete;
    SimFixture& operator=(const SimFixture&) = delete;

    // A new process and platform for the next run (with these command-line arguments); the
    // machine, its files and registry stay.
    void Restart(std::vector<std::string> args = {}) {
        platform.reset();
        process = machine->StartProcess(kExe, std::move(args));
        platform = std::make_unique<ui::HeadlessPlatform>(*process);
        // Message boxes, user actions and the rest of the platform's record join the transcript.
        platform->OnTrace = [this](const std::string& line) { machine->Trace(line); };
        runStart_ = machine->Tick();
    }

    // The main window while the monitor runs (found among the machine's windows), else null.
    monitor::TForm1* Form1() const {
        for (os::WindowSink* sink : machine->Windows())
            if (auto* form = dynamic_cast<monitor::TForm1*>(sink)) return form;
        return nullptr;
    }

    // Runs `action` as the user at `ms` after the start of the run, when the main window exists
    // then (a test fails when it does not).
    void At(std::uint32_t ms, std::function<void(monitor::TForm1&)> action, std::string what = "") {
        platform->At(
            runStart_ + ms,
            [this, action = std::move(action), ms] {
                monitor::TForm1* form = Form1();
                if (!form) {
                    ADD_FAILURE() << "no main window at " << ms << " ms";
                    return;
                }
                action(*form);
            },
            std::move(what));
    }

    // Runs the monitor. At `ms` after its start `atEnd` (when given) sees the running program,
    // then the exit message ends the run. Returns the program's exit code.
    int RunFor(std::uint32_t ms, std::function<void(monitor::MonitorProgram&)> atEnd = {}) {
        platform->At(runStart_ + ms, [this, atEnd = std::move(atEnd)] {
            monitor::TForm1* form = Form1();
            if (atEnd && form) atEnd(form->Program());
            process->BroadcastMessage(process->RegisterWindowMessage("EXITZarvoORLO"), 0, 0);
        });
        return monitor::MonitorMain(*process, *platform);
    }

    // The distribution files in `folder` with the overlay library, the demo board as its smart
    // fan's first start leaves it: with a [FINTEK] section, so that a start does not ask whether to
    // load the BIOS's smart-fan configuration. A test of the first start writes
    // DataFile("A920.INI") back.
    void InstallDistribution(const std::string& folder) {
        machine->InstallFolder(ORLO_DATA_DIR, folder);
        ASSERT_TRUE(
            machine->WriteFile(folder + "\\A920.INI", DataFile("A920.INI") + kSmartFanConfigured));
        // The overlay library, with all seven exports.
        ASSERT_TRUE(
            machine->WriteFile(folder + "\\skelvarind.dll", os::sim::LibraryImage(GhostExports())));
    }

    // --- the program folder's files -------------------------------------------------------------
    static std::string ProgramPath(const std::string& name) {
        return std::string(kProgramFolder) + "\\" + name;
    }
    void WriteProgramFile(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(machine->WriteFile(ProgramPath(name), bytes)) << name;
    }
    std::string ReadProgramFile(const std::string& name) const {
        std::string bytes;
        machine->ReadFile(ProgramPath(name), bytes);
        return bytes;
    }
    bool ProgramFileExists(const std::string& name) const {
        return machine->FileExists(ProgramPath(name));
    }
    // A file of the source tree's data/ folder, as shipped.
    static std::string DataFile(const std::string& name) {
        std::ifstream in(std::filesystem::path(ORLO_DATA_DIR) / name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // Lines joined with CR LF, each line ended by one (the INI files' form).
    static std::string CrLf(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        return text;
    }

    // --- the overlay library skelvarind.dll -----------------------------------------------------
    // It lies in the program folder with all seven exports, as the installer puts it there; a
    // test replaces it with one that lacks some, or deletes it.
    static std::vector<std::string> GhostExports() { return host::OverlayExports(); }
    void WriteGhostLibrary(const std::vector<std::string>& exports) {
        WriteProgramFile("skelvarind.dll", os::sim::LibraryImage(exports));
    }

    // --- what the run did -------------------------------------------------------------------
    // The texts of every message box shown, in order.
    std::vector<std::string> Messages() const { return platform->MessageTexts(); }
    // Every "ini write" of the transcript since the machine started, as "[section] key=value"
    // (the file's path left out) for writes into `file` of the program folder.
    std::vector<std::string> IniWrites(const std::string& file) const {
        std::string prefix = "ini write " + ProgramPath(file) + " ";
        std::vector<std::string> writes;
        for (const std::string& line : machine->Transcript()) {
            auto at = line.find(prefix);
            if (at != std::string::npos) writes.push_back(line.substr(at + prefix.size()));
        }
        return writes;
    }

    std::unique_ptr<os::sim::SimMachine> machine;
    std::unique_ptr<os::sim::SimProcess> process;
    std::unique_ptr<ui::HeadlessPlatform> platform;

  private:
    TestSandbox sandbox_{"orlo-test"}; // made before the machine, removed after it
    std::uint32_t runStart_ = 0;
};

// Prepares the next run of `sim` as a program started from `exePath` instead of the installed
// ORLO.EXE (a copied or moved program folder); its folder must hold the program's files.
inline void RestartFrom(SimFixture& sim, const std::string& exePath,
                        std::vector<std::string> args = {}) {
    sim.Restart();
    sim.platform.reset();
    sim.process = sim.machine->StartProcess(exePath, std::move(args));
    sim.platform = std::make_unique<ui::HeadlessPlatform>(*sim.process);
    sim.platform->OnTrace = [&sim](const std::string& line) { sim.machine->Trace(line); };
}

// --- board INIs and raw bytes for the polling, alarm and warning scenarios ------------------

#include <algorithm>
#include <utility>

// A board INI for a scenario: every channel enabled, unmonitored, named as on the demo board
// (so TEMP0 is the CPU's channel and VIN0 the VCore), limits 0, interval 1000 ms, action
// "Ask Me", no speakers, no POST-code report. `keys` overrides or adds keys, each given as
// {"SECTION", "KEY", "value"}.
struct IniKey {
    std::string section, key, value;
};
inline std::string ScenarioBoardIni(const std::vector<IniKey>& keys) {
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> ini = {
        {"SYSTEM",
         {{"SN", "001"},
          {"Action when exceed the limitations", "Ask Me"},
          {"How to log", "Log if alert"},
          {"SHUTDOWN", "0"},
          {"CPUTOP80", "0"},
          {"EXTSPK", "0"},
          {"SYSSPK", "0"}}},
        {"INTERVAL", {{"VALUE", "1000"}}}};
    const char* fanNames[] = {"CPU FAN", "System FAN", "Power FAN"};
    const char* tempNames[] = {"CPU", "System", "PWM"};
    for (int i = 0; i < 3; ++i) {
        ini.push_back({"FAN" + std::to_string(i), {{"ENABLED", "1"}, {"NAME", fanNames[i]}}});
        ini.push_back({"TEMP" + std::to_string(i), {{"ENABLED", "1"}, {"NAME", tempNames[i]}}});
    }
    for (int i = 0; i < 9; ++i)
        ini.push_back({"VIN" + std::to_string(i),
                       {{"ENABLED", "1"}, {"NAME", i == 0 ? "VCore" : "VIN" + std::to_string(i)}}});
    for (const IniKey& k : keys) {
        auto section =
            std::find_if(ini.begin(), ini.end(), [&](auto& s) { return s.first == k.section; });
        if (section == ini.end()) section = ini.insert(ini.end(), {k.section, {}});
        auto key = std::find_if(section->second.begin(), section->second.end(),
                                [&](auto& kv) { return kv.first == k.key; });
        if (key == section->second.end())
            section->second.push_back({k.key, k.value});
        else
            key->second = k.value;
    }
    std::vector<std::string> lines;
    for (const auto& section : ini) {
        lines.push_back("[" + section.first + "]");
        for (const auto& kv : section.second)
            lines.push_back(kv.first + "=" + kv.second);
        lines.push_back("");
    }
    return SimFixture::CrLf(lines);
}

// The keys that make a channel monitored with the given limits.
inline std::vector<IniKey> Monitored(const std::string& section, int low, int high) {
    return {{section, "MONITOR", "1"},
            {section, "LOW LIMIT", std::to_string(low)},
            {section, "HIGH LIMIT", std::to_string(high)}};
}

// Chip 0x92 fan bytes: a 12-bit count reads 1500000 / count RPM; high 15 with low 255 is a
// stopped fan.
inline void SetFanCount92(BoardState& board, int fan, std::uint32_t count) {
    board.fan_divisor[fan] = static_cast<unsigned char>(count >> 8);
    board.fan_count[fan] = static_cast<unsigned char>(count & 0xFF);
}
inline void StopFan92(BoardState& board, int fan) {
    board.fan_divisor[fan] = 15;
    board.fan_count[fan] = 255;
}

// The lines of a text file with CR LF line ends that contain `part`.
inline std::vector<std::string> LinesContaining(const std::string& text, const std::string& part) {
    std::vector<std::string> found;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.find(part) != std::string::npos) found.push_back(line);
        start = end + 2;
    }
    return found;
}

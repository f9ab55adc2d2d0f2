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

#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

class SimFixture {
  public:
    static constexpr const char* kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";
    static constexpr const char* kExe = "C:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE";

    // `config` is the machine's start configuration; the board is the simulated default
    // (chip 0x92, id "ZRV-A920") until the test changes machine->Board().
    explicit SimFixture(os::sim::MachineConfig config = {}) {
        static std::atomic<int> serial{0};
        sandbox_ = std::filesystem::temp_directory_path() /
                   ("orlo-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(sandbox_);
        machine = std::make_unique<os::sim::SimMachine>(sandbox_, config);
        machine->InstallFolder(ORLO_DATA_DIR, kProgramFolder);
        Restart();
    }
    ~SimFixture() {
        platform.reset();
        process.reset();
        machine.reset();
        std::filesystem::remove_all(sandbox_);
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
    std::filesystem::path sandbox_;
    std::uint32_t runStart_ = 0;
};

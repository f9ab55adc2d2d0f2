// A test fixture for scenario tests of the installer: a simulated machine in a fresh sandbox with
// the distribution folder in C:\DIST (the source tree's data/ and stand-ins for the built files),
// installer processes with their scripted users, and helpers that look at what they left.
//
// Typical use:
//   SetupFixture sim;
//   SetupUser user(sim, sim.Start());           // SETUP.EXE from the distribution folder
//   user.Install();                             // Next, Next, "later", Finish
//   user.OnPage(&setup::TForm1::TabSheet3, [&](setup::TForm1& w) { /* look at the wizard */ });
//   EXPECT_EQ(user.Run(), 0);
//   EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
//
// Programs that run side by side (an installer while the monitor runs) go through
// RegisterPrograms and os::sim::SimMachine::RunPrograms.
#pragma once

#include "host/Distribution.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "setup/FolderChooser.h"
#include "setup/SetupProgram.h"
#include "setup/Wizard.h"
#include "setup/host/ScriptedUser.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class SetupFixture {
  public:
    static constexpr const char* kDist = "C:\\DIST";
    static constexpr const char* kSetupExe = "C:\\DIST\\SETUP.EXE";
    static constexpr const char* kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";
    static constexpr const char* kDesktopLink =
        "C:\\Documents and Settings\\All Users\\Desktop\\ORLO.lnk";
    static constexpr const char* kServiceKey = "System\\CurrentControlSet\\Services\\ZarvoORLO";
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kUninstallKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZarvoORLO";

    explicit SetupFixture(os::sim::MachineConfig config = {}) {
        machine = std::make_unique<os::sim::SimMachine>(sandbox_, config);
        host::InstallDistribution(*machine, ORLO_DATA_DIR, kDist);
    }
    ~SetupFixture() {
        processes_.clear();
        machine.reset();
    }
    SetupFixture(const SetupFixture&) = delete;
    SetupFixture& operator=(const SetupFixture&) = delete;

    // A new installer process, run on the test thread by a SetupUser.
    os::sim::SimProcess& Start(std::vector<std::string> args = {},
                               const std::string& exe = kSetupExe) {
        processes_.push_back(machine->StartProcess(exe, std::move(args)));
        return *processes_.back();
    }

    static std::string Installed(const std::string& name) {
        return std::string(kProgramFolder) + "\\" + name;
    }
    static std::string Dist(const std::string& name) { return std::string(kDist) + "\\" + name; }
    std::string Read(const std::string& path) const {
        std::string bytes;
        machine->ReadFile(path, bytes);
        return bytes;
    }
    const os::sim::RegValue* Reg(const std::string& key, const std::string& name) const {
        return machine->RegGet(os::RegRoot::LocalMachine, key, name);
    }
    bool KeyExists(const std::string& key) const {
        return machine->RegKeyExists(os::RegRoot::LocalMachine, key);
    }
    // The command line of the uninstall entry.
    std::string UninstallString() const {
        const os::sim::RegValue* value = Reg(kUninstallKey, "UninstallString");
        return value ? value->text : "";
    }
    // No service, uninstall entry, Run value or desktop shortcut is left.
    bool NothingRegistered() const {
        return !KeyExists(kServiceKey) && !KeyExists(kUninstallKey) &&
               Reg(kRunKey, "ZarvoORLO") == nullptr && !machine->FileExists(kDesktopLink);
    }
    // The transcript's lines that contain `part`, without their time stamps.
    std::vector<std::string> Lines(const std::string& part) const {
        std::vector<std::string> found;
        for (const std::string& line : machine->Transcript())
            if (line.find(part) != std::string::npos) found.push_back(line.substr(12));
        return found;
    }
    // The position of the first transcript line from `from` on containing `part`, or -1.
    int LineIndex(const std::string& part, int from = 0) const {
        const auto& lines = machine->Transcript();
        for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
            if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    int TranscriptSize() const { return static_cast<int>(machine->Transcript().size()); }
    // The virtual time of a transcript line, in seconds since the machine started.
    double SecondsAt(int line) const {
        return std::stod(machine->Transcript().at(static_cast<size_t>(line)).substr(0, 11));
    }

    std::unique_ptr<os::sim::SimMachine> machine;

  private:
    TestSandbox sandbox_{"setup-test"}; // made before the machine, removed after it
    std::vector<std::unique_ptr<os::sim::SimProcess>> processes_;
};

// The scripted user of one installer process, and the run of its entry.
class SetupUser {
  public:
    SetupUser(SetupFixture& sim, os::sim::SimProcess& process)
        : machine_(*sim.machine), process_(process), platform(process) {
        platform.OnTrace = [this](const std::string& line) { machine_.Trace(line); };
    }

    setup::TForm1* Wizard() const { return setup::WizardOf(machine_, process_); }
    setup::TForm2* Chooser() const { return setup::ChooserOf(machine_, process_); }

    // Once `page` shows, `button` is clicked `delay` ms later.
    void Click(setup::WizardPage page, setup::WizardButton button, std::uint32_t delay = 300) {
        setup::ClickOnPage(platform, machine_, process_, page, button, delay);
    }
    // Once `page` shows, `action` runs `delay` ms later.
    void OnPage(setup::WizardPage page, std::function<void(setup::TForm1&)> action,
                std::uint32_t delay = 0) {
        platform.When([this, page] { return setup::PageShown(machine_, process_, page); },
                      [this, action] { action(*Wizard()); }, delay);
    }
    void Install(const std::string& destination = "", bool restartNow = false) {
        setup::ScriptInstall(platform, machine_, process_, destination, restartNow);
    }
    // The program's run; once it has ended, its process holds its working folder no longer.
    int Run() {
        int code = setup::SetupMain(process_, platform);
        machine_.ProcessEnded(process_);
        return code;
    }
    std::vector<std::string> Messages() const { return platform.MessageTexts(); }

  private:
    os::sim::SimMachine& machine_;
    os::sim::SimProcess& process_;

  public:
    ui::HeadlessPlatform platform;
};

// The programs of the machine for runs side by side: each installer process gets its user
// scripted by `setupScript` (with the process's arguments), each monitor `monitorScript`.
inline void
RegisterPrograms(SetupFixture& sim,
                 std::function<void(SetupUser&, const std::vector<std::string>&)> setupScript,
                 std::function<void(ui::HeadlessPlatform&)> monitorScript = {}) {
    sim.machine->RegisterProgram(host::kSetupProgram, [&sim, setupScript](os::sim::SimProcess& p) {
        SetupUser user(sim, p);
        if (setupScript) setupScript(user, p.GetArguments());
        return user.Run();
    });
    sim.machine->RegisterProgram(
        host::kMonitorProgram, [&sim, monitorScript](os::sim::SimProcess& p) {
            ui::HeadlessPlatform platform(p);
            platform.OnTrace = [&sim](const std::string& line) { sim.machine->Trace(line); };
            if (monitorScript) monitorScript(platform);
            return monitor::MonitorMain(p, platform);
        });
}

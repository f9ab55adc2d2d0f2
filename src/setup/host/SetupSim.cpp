#include "setup/host/SetupSim.h"

#include "host/Distribution.h"
#include "host/FolderPath.h"
#include "host/MachineDescription.h"
#include "host/SandboxMachine.h"
#include "host/Session.h"
#include "host/WindowDescription.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/HostFiles.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "setup/host/ScriptedUser.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#ifndef ORLO_DATA_DIR
#define ORLO_DATA_DIR "data"
#endif

namespace fs = std::filesystem;

namespace setup {

namespace {

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZarvoORLO";

// Every file below a host folder, as Windows paths below `windowsFolder`.
void ListFiles(const fs::path& host, const std::string& windowsFolder, std::FILE* out) {
    std::vector<fs::path> entries = os::sim::HostEntries(host);
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        std::string path = windowsFolder + "\\" + entry.filename().string();
        if (os::sim::HostIsFolder(entry))
            ListFiles(entry, path, out);
        else
            std::fprintf(out, "  %s\n", path.c_str());
    }
}

void PrintRegistry(os::sim::SimMachine& machine, std::FILE* out) {
    const char* keys[] = {"System\\CurrentControlSet\\Services\\ZarvoORLO",
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kUninstallKey};
    for (const char* key : keys) {
        if (!machine.RegKeyExists(os::RegRoot::LocalMachine, key)) {
            std::fprintf(out, "  HKLM\\%s: no such key\n", key);
            continue;
        }
        std::fprintf(out, "  HKLM\\%s\n", key);
        for (const os::sim::RegValue& value : machine.RegValues(os::RegRoot::LocalMachine, key)) {
            if (value.isDword)
                std::fprintf(out, "    %s = %u\n", value.name.c_str(), value.dword);
            else
                std::fprintf(out, "    %s = \"%s\"\n", value.name.c_str(), value.text.c_str());
        }
    }
}

// The letter of the CD-ROM drive that holds the distribution: the first one from D: on that the
// machine does not have (its Windows folder may lie on D:).
char FreeDriveLetter(os::sim::SimMachine& machine) {
    char letter = 'd';
    while (letter < 'z' && (machine.LogicalDrives() & (1u << (letter - 'a'))))
        ++letter;
    return letter;
}

std::string UninstallCommand(os::sim::SimMachine& machine) {
    const os::sim::RegValue* value =
        machine.RegGet(os::RegRoot::LocalMachine, kUninstallKey, "UninstallString");
    return value ? value->text : "";
}

} // namespace

std::string ParseSetupSimArguments(const std::vector<std::string>& args, SetupSimOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return "help";
        if (arg == "--keep") {
            options.uninstall = false;
            continue;
        }
        if (arg != "--machine" && arg != "--data" && arg != "--dest" && arg != "--seconds")
            return "unknown option " + arg;
        if (i + 1 == args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        if (arg == "--seconds") {
            const std::string error = host::ParseSecondsOption(value, options.seconds);
            if (!error.empty()) return error;
        } else if (value.empty()) {
            return arg + " needs a value, not \"\"";
        } else if (arg == "--machine") {
            options.machineFile = value;
        } else if (arg == "--data") {
            options.dataDir = value;
        } else {
            const std::string why = host::FolderPathFault(value, true);
            if (!why.empty())
                return "--dest \"" + value + "\": not an absolute folder path such as D:\\Apps (" +
                       why + ")";
            options.destination = value;
        }
    }
    return "";
}

int RunSetupOnSimulatedMachine(const SetupSimOptions& options, std::FILE* out) {
    const fs::path data =
        options.dataDir.empty() ? fs::path(ORLO_DATA_DIR) : fs::path(options.dataDir);
    if (!os::sim::HostIsFolder(data)) {
        std::fprintf(stderr, "setup-sim: --data %s: no such folder\n", data.string().c_str());
        return 2;
    }
    host::SandboxMachine sandbox("setup-sim", out);
    if (!sandbox.Describe(options.machineFile)) return 2;
    os::sim::SimMachine& machine = sandbox.Machine();
    // The folder chooser shows the folder by its long name, however the option names it. Asked
    // before the CD-ROM is there: the distribution's disc is no place to install to.
    std::string destination;
    if (!options.destination.empty()) {
        destination = machine.LongPathName(options.destination);
        if (!machine.DirectoryExists(destination)) {
            std::fprintf(stderr, "setup-sim: --dest %s: no such folder on the machine\n",
                         options.destination.c_str());
            return 2;
        }
    }
    int code = 0;
    {
        // Before Windows restarts, the driver is not installed.
        machine.Config().driverAppearsAfterMs = -1;
        // The distribution on a CD-ROM: written first, then read-only like any disc.
        const char cd = FreeDriveLetter(machine);
        const std::string distribution =
            std::string(1, static_cast<char>(std::toupper(cd))) + ":\\";
        machine.AddDrive(cd, os::kDriveFixed);
        host::InstallDistribution(machine, data, distribution);
        machine.AddDrive(cd, os::kDriveCdRom, "ORLO");

        machine.RegisterProgram(host::kSetupProgram, [&](os::sim::SimProcess& process) {
            ui::HeadlessPlatform user(process);
            user.OnTrace = [&machine](const std::string& line) { machine.Trace(line); };
            std::vector<std::string> args = process.GetArguments();
            std::string mode = args.empty() ? "" : args[0];
            if (mode.empty()) {
                ScriptInstall(user, machine, process, destination);
                user.When([&] { return PageShown(machine, process, &TForm1::TabSheet3); },
                          [&] {
                              std::fprintf(out, "--- the installer's windows ---\n%s",
                                           host::DescribeWindows(machine).c_str());
                          });
            } else if (mode == "-UNINSTALL") {
                ClickOnPage(user, machine, process, &TForm1::TabSheet5, &TForm1::Button9, 1000);
            }
            return SetupMain(process, user);
        });
        machine.RegisterProgram(host::kMonitorProgram, [&](os::sim::SimProcess& process) {
            ui::HeadlessPlatform platform(process);
            platform.OnTrace = [&machine](const std::string& line) { machine.Trace(line); };
            return monitor::MonitorMain(process, platform);
        });

        try {
            std::fprintf(out, "--- the user runs %sSETUP.EXE ---\n", distribution.c_str());
            machine.Launch(distribution + "SETUP.EXE");
            machine.RunPrograms();
            host::RestartWindows(machine);
            std::vector<host::SessionCommand> later;
            if (options.uninstall)
                later.push_back({options.seconds * 1000, [&] {
                                     std::fprintf(out, "--- the user removes ORLO through the "
                                                       "uninstall entry ---\n");
                                     return UninstallCommand(machine);
                                 }});
            else
                later.push_back({options.seconds * 1000,
                                 [&] {
                                     std::fprintf(out, "--- the session ends ---\n");
                                     return std::string();
                                 },
                                 true});
            std::fprintf(out, "--- the user logs on ---\n");
            host::LaunchSession(machine, later);
            machine.RunPrograms();
        } catch (const ui::LoopStuck& stuck) {
            std::fprintf(out, "a program waits for something that can never come: %s\n",
                         stuck.what());
            code = 3;
        }
        // What is left on the machine's own drives.
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            if (letter == cd || !(machine.LogicalDrives() & (1u << (letter - 'a')))) continue;
            const std::string drive(1, static_cast<char>(std::toupper(letter)));
            std::fprintf(out, "--- files on drive %s: ---\n", drive.c_str());
            ListFiles(sandbox.Sandbox() / std::string(1, letter), drive + ":", out);
        }
        std::fprintf(out, "--- registry ---\n");
        PrintRegistry(machine, out);
    }
    return code;
}

int SetupSimCommand(const std::vector<std::string>& args, std::FILE* out) {
    SetupSimOptions options;
    const std::string parsed = ParseSetupSimArguments(args, options);
    return host::AnswerOptions(
        "setup-sim", "[--machine FILE] [--data DIR] [--dest FOLDER] [--seconds N] [--keep]", parsed,
        out, [&] { return RunSetupOnSimulatedMachine(options, out); });
}

} // namespace setup

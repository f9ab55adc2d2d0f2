#include "monitor/host/SimRun.h"

#include "host/Distribution.h"
#include "host/MachineDescription.h"
#include "host/SandboxMachine.h"
#include "host/Session.h"
#include "host/WindowDescription.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/HostFiles.h"
#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

#include <filesystem>

#ifndef ORLO_DATA_DIR
#define ORLO_DATA_DIR "data"
#endif

namespace fs = std::filesystem;

namespace monitor {

namespace {

const char* const kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";
const char* const kOverlayLibrary = "C:\\Program Files\\ZARVO\\ORLO\\skelvarind.dll";

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
        if (arg == "--seconds") {
            const std::string error = host::ParseSecondsOption(value, options.seconds);
            if (!error.empty()) return error;
        } else if (value.empty()) {
            return arg + " needs a value, not \"\"";
        } else if (arg == "--machine") {
            options.machineFile = value;
        } else {
            options.dataDir = value;
        }
    }
    return "";
}

namespace {

// The machine's description and distribution files, as the options give them; an error text or "".
// The distribution files come first, with the overlay library beside them as the installer puts
// it (unless they hold one of their own), so that the description can change the library.
std::string PrepareMachine(os::sim::SimMachine& machine, const SimRunOptions& options) {
    const fs::path data =
        options.dataDir.empty() ? fs::path(ORLO_DATA_DIR) : fs::path(options.dataDir);
    if (!os::sim::HostIsFolder(data)) return "--data " + data.string() + ": no such folder";
    machine.InstallFolder(data, kProgramFolder);
    if (!machine.FileExists(kOverlayLibrary))
        machine.WriteFile(kOverlayLibrary, os::sim::LibraryImage(host::OverlayExports()));
    return options.machineFile.empty() ? "" : host::ApplyMachineFile(machine, options.machineFile);
}

// The monitor started by the user in a session that ends after the run's seconds: the logoff
// ends the monitor too, whether it has windows by then or not.
int RunMonitor(os::sim::SimMachine& machine, const SimRunOptions& options, std::FILE* out) {
    const std::string exe = std::string(kProgramFolder) + "\\ORLO.EXE";
    machine.WriteFile(exe, os::sim::SimMachine::ProgramImage(host::kMonitorProgram));
    machine.RegisterProgram(host::kMonitorProgram, [&machine](os::sim::SimProcess& process) {
        ui::HeadlessPlatform platform(process);
        platform.OnTrace = [&machine](const std::string& line) { machine.Trace(line); };
        return MonitorMain(process, platform);
    });
    const auto exitOfMonitor = [&machine, &exe]() -> const os::sim::ProgramExit* {
        for (const os::sim::ProgramExit& exit : machine.programExits)
            if (exit.exePath == exe) return &exit;
        return nullptr;
    };
    // The user starts the monitor in a session that is already running: it runs first, and at
    // the session's end its due work comes first too.
    machine.Launch(exe, options.programArgs);
    host::LaunchSession(
        machine, {{options.seconds * 1000,
                   [&] {
                       if (exitOfMonitor()) return std::string();
                       std::fprintf(out, "--- windows at the end of the run ---\n%s",
                                    host::DescribeWindows(machine).c_str());
                       std::fprintf(out, "--- end of the run: the user's session ends ---\n");
                       return std::string();
                   },
                   true}});
    try {
        machine.RunPrograms();
    } catch (const ui::LoopStuck& stuck) {
        std::fprintf(out, "the program waits for something that can never come: %s\n",
                     stuck.what());
        std::fprintf(out, "exit code 3\n");
        return 3;
    }
    const os::sim::ProgramExit* exit = exitOfMonitor();
    if (exit && exit->endedBySystem) {
        std::fprintf(out, "ended by the system with the session\n");
        return 0;
    }
    const int code = exit ? exit->exitCode : 0;
    std::fprintf(out, "exit code %d\n", code);
    return code;
}

} // namespace

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out) {
    int code = 0;
    {
        host::SandboxMachine sandbox("orlo-sim", out);
        os::sim::SimMachine& machine = sandbox.Machine();
        const std::string error = PrepareMachine(machine, options);
        if (error.empty()) {
            code = RunMonitor(machine, options, out);
        } else {
            std::fprintf(stderr, "orlo-sim: %s\n", error.c_str());
            code = 2;
        }
    }
    return code;
}

int OrloSimCommand(const std::vector<std::string>& args, std::FILE* out) {
    SimRunOptions options;
    const std::string parsed = ParseSimRunArguments(args, options);
    return host::AnswerOptions("orlo-sim", "[--seconds N] [--machine FILE] [--data DIR] [-- ARGS]",
                               parsed, out, [&] { return RunOnSimulatedMachine(options, out); });
}

} // namespace monitor

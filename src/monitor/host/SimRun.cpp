#include "monitor/host/SimRun.h"

#include "host/SandboxMachine.h"
#include "host/WindowDescription.h"
#include "monitor/MonitorProgram.h"
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

} // namespace

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out) {
    int code = 0;
    {
        host::SandboxMachine sandbox("orlo-sim", out);
        if (!sandbox.Describe(options.machineFile)) return 2;
        os::sim::SimMachine& machine = sandbox.Machine();
        fs::path data =
            options.dataDir.empty() ? fs::path(ORLO_DATA_DIR) : fs::path(options.dataDir);
        machine.InstallFolder(data, kProgramFolder);

        auto process =
            machine.StartProcess(std::string(kProgramFolder) + "\\ORLO.EXE", options.programArgs);
        ui::HeadlessPlatform platform(*process);
        platform.OnTrace = [&machine](const std::string& line) { machine.Trace(line); };
        std::uint32_t end = machine.Tick() + options.seconds * 1000;
        platform.At(end, [&] {
            std::fprintf(out, "--- windows at the end of the run ---\n%s",
                         host::DescribeWindows(machine).c_str());
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
    return code;
}

} // namespace monitor

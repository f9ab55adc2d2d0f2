#include "host/Distribution.h"

#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"

namespace host {

const char* const kSetupProgram = "setup";
const char* const kMonitorProgram = "orlo";

std::vector<std::string> OverlayExports() {
    return {"InitInstance", "DestoryInstance",   "ShowTranslucentForm", "HideTranslucentForm",
            "SetItems",     "SetCPUTemperature", "SetCPUVCore"};
}

void InstallDistribution(os::sim::SimMachine& machine, const std::filesystem::path& dataDir,
                         const std::string& folder) {
    machine.InstallFolder(dataDir, folder);
    const std::string base = folder.back() == '\\' ? folder : folder + "\\";
    machine.WriteFile(base + "SETUP.EXE", os::sim::SimMachine::ProgramImage(kSetupProgram));
    machine.WriteFile(base + "ORLO.EXE", os::sim::SimMachine::ProgramImage(kMonitorProgram));
    machine.WriteFile(base + "skelvarind.dll", os::sim::LibraryImage(OverlayExports()));
    machine.WriteFile(base + "warning.wav", std::string("RIFF\x24\0\0\0WAVE", 12));
    machine.WriteFile(base + "ZarvoORLO.SYS", "MZ stand-in driver, 32-bit\r\n");
    machine.WriteFile(base + "ZarvoORLO64.SYS", "MZ stand-in driver, 64-bit\r\n");
}

} // namespace host

// The distribution folder on a simulated machine, and the programs it holds.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace os::sim {
class SimMachine;
}

namespace host {

// The names the simulated machine knows the two programs by: a file holding the program image
// of "setup" runs the installer, of "orlo" the monitor (os::sim::SimMachine::ProgramImage).
extern const char* const kSetupProgram;
extern const char* const kMonitorProgram;

// The exports of the overlay library skelvarind.dll: all seven that the monitor looks up.
std::vector<std::string> OverlayExports();

// Writes the distribution folder into `folder` (made as needed): the data folder's files
// (ORLO.INI, the board INIs and whatever else it holds), and stand-ins for the built files:
// SETUP.EXE and ORLO.EXE holding their programs' images, skelvarind.dll with the overlay's seven
// exports, warning.wav, ZarvoORLO.SYS and ZarvoORLO64.SYS.
void InstallDistribution(os::sim::SimMachine& machine, const std::filesystem::path& dataDir,
                         const std::string& folder);

} // namespace host

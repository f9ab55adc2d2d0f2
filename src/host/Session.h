// A user's session on the simulated machine: the shell starts every Run value at logon, as
// Windows does, and later the commands the user gives (the uninstall entry's, say).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace os::sim {
class SimMachine;
class SimProcess;
} // namespace os::sim

namespace host {

struct SessionCommand {
    std::uint32_t atMs;                       // after the logon
    std::function<std::string()> commandLine; // read when due; empty: nothing to run
    bool endsSession = false;                 // then the user logs off (EndSession)
};

// Launches the session's shell (explorer.exe in the Windows folder), which runs side by side with
// the programs it starts (os::sim::SimMachine::RunPrograms).
void LaunchSession(os::sim::SimMachine& machine, std::vector<SessionCommand> commands);

// The session ends, as at a logoff, by the program `from`: the monitor's exit message
// "EXITZarvoORLO" goes to every window, so that a monitor with windows ends in its own way, and
// then the system ends every program still running, `from` included, whether it has a window
// or not (one in its start delay has none yet).
void EndSession(os::sim::SimProcess& from);

// Windows restarts: the driver loads when the service key "ZarvoORLO" asks for a kernel driver
// started at boot and its file lies where the key names it (by ImagePath below the Windows
// folder, else in system32\drivers); otherwise the machine has no driver device.
void RestartWindows(os::sim::SimMachine& machine);

// The command lines of the values of HKLM\Software\Microsoft\Windows\CurrentVersion\Run.
std::vector<std::string> RunCommands(os::sim::SimMachine& machine);

} // namespace host

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

// Launches the session's shell (explorer.exe in the Windows folder, working in the system
// folder), which runs side by side with the programs it starts, in its working folder
// (os::sim::SimMachine::RunPrograms).
void LaunchSession(os::sim::SimMachine& machine, std::vector<SessionCommand> commands);

// The user logs off, by the program `from` (the shell), as Windows ends a session: every
// top-level window is asked WM_QUERYENDSESSION; when one refuses, all get WM_ENDSESSION with
// false and the session goes on (false). Else all get WM_ENDSESSION with true, the system ends
// each program as soon as its windows have answered, and then every program still running,
// `from` included, whether it has a window or not (one in its start delay has none yet).
// No program gets a message of its own (the monitor's exit message "EXITZarvoORLO").
bool EndSession(os::sim::SimProcess& from);

// Windows restarts: the driver loads when the service key "ZarvoORLO" asks for a kernel driver
// started at boot and its file lies where the key names it (by ImagePath below the Windows
// folder, else in system32\drivers); otherwise the machine has no driver device.
void RestartWindows(os::sim::SimMachine& machine);

// The command lines of the values of HKLM\Software\Microsoft\Windows\CurrentVersion\Run.
std::vector<std::string> RunCommands(os::sim::SimMachine& machine);

} // namespace host

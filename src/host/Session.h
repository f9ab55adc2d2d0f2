// A user's session on the simulated machine: the shell starts every Run value at logon, as
// Windows does, and later the commands the user gives (the uninstall entry's, say).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace os::sim {
class SimMachine;
}

namespace host {

struct SessionCommand {
    std::uint32_t atMs;                       // after the logon
    std::function<std::string()> commandLine; // read when due; empty: nothing to run
};

// Launches the session's shell (C:\WINDOWS\explorer.exe), which runs side by side with the
// programs it starts (os::sim::SimMachine::RunPrograms).
void LaunchSession(os::sim::SimMachine& machine, std::vector<SessionCommand> commands);

// Windows restarts: the driver loads when the service key "ZarvoORLO" asks for a kernel driver
// started at boot and its file lies where the key names it (by ImagePath below the Windows
// folder, else in system32\drivers); otherwise the machine has no driver device.
void RestartWindows(os::sim::SimMachine& machine);

// The command lines of the values of HKLM\Software\Microsoft\Windows\CurrentVersion\Run.
std::vector<std::string> RunCommands(os::sim::SimMachine& machine);

} // namespace host

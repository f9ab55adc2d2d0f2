#include "host/Session.h"

#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include <algorithm>
#include <cstdint>

namespace host {

namespace {

const char* const kShellProgram = "explorer";

} // namespace

std::vector<std::string> RunCommands(os::sim::SimMachine& machine) {
    std::vector<std::string> commands;
    for (const os::sim::RegValue& value : machine.RegValues(
             os::RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"))
        if (!value.isDword) commands.push_back(value.text);
    return commands;
}

void LaunchSession(os::sim::SimMachine& machine, std::vector<SessionCommand> commands) {
    const std::string shell = machine.Config().windowsFolder + "\\explorer.exe";
    machine.WriteFile(shell, os::sim::SimMachine::ProgramImage(kShellProgram));
    machine.RegisterProgram(kShellProgram, [&machine, commands](os::sim::SimProcess& shell) {
        for (const std::string& command : RunCommands(machine))
            machine.LaunchCommandLine(command);
        std::uint32_t logon = shell.GetTickCount();
        for (const SessionCommand& command : commands) {
            std::uint32_t now = shell.GetTickCount() - logon;
            if (command.atMs > now) shell.Sleep(command.atMs - now);
            std::string line = command.commandLine ? command.commandLine() : std::string();
            if (!line.empty()) machine.LaunchCommandLine(line);
            if (command.endsSession) {
                EndSession(shell);
                break;
            }
        }
        return 0;
    });
    // The shell works in the system folder, where the logon started it; what it starts from
    // the Run values and the user's commands works there too.
    machine.Launch(shell, {}, machine.Config().windowsFolder + "\\system32");
}

bool EndSession(os::sim::SimProcess& from) {
    constexpr std::uint32_t kQueryEndSession = 0x11, kEndSession = 0x16;
    constexpr std::intptr_t kLogoff = static_cast<std::intptr_t>(0x80000000u); // ENDSESSION_LOGOFF
    os::sim::SimMachine& machine = from.Machine();
    machine.Trace("--- the user logs off ---");
    const std::vector<std::intptr_t> answers =
        machine.BroadcastFrom(from, kQueryEndSession, 0, kLogoff);
    if (std::find(answers.begin(), answers.end(), 0) != answers.end()) {
        machine.Trace("--- a window refuses the session's end: the session goes on ---");
        machine.BroadcastFrom(from, kEndSession, 0, kLogoff);
        return false;
    }
    machine.BroadcastFrom(from, kEndSession, 1, kLogoff, true);
    machine.EndOtherPrograms(from);
    from.End();
    return true;
}

void RestartWindows(os::sim::SimMachine& machine) {
    const std::string key = "System\\CurrentControlSet\\Services\\ZarvoORLO";
    const os::sim::RegValue* type = machine.RegGet(os::RegRoot::LocalMachine, key, "Type");
    const os::sim::RegValue* start = machine.RegGet(os::RegRoot::LocalMachine, key, "Start");
    const os::sim::RegValue* image = machine.RegGet(os::RegRoot::LocalMachine, key, "ImagePath");
    const std::string windows = machine.Config().windowsFolder + "\\";
    std::string file = image && !image->isDword ? windows + image->text
                                                : windows + "system32\\drivers\\ZarvoORLO.sys";
    bool loads = type && type->isDword && type->dword == 1 && start && start->isDword &&
                 start->dword <= 2 && machine.FileExists(file);
    machine.Config().driverAppearsAfterMs = loads ? 0 : -1;
    machine.Trace(std::string("--- Windows restarts: ") +
                  (loads ? "the driver loads from " + file : "no driver loads") + " ---");
}

} // namespace host

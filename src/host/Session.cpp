#include "host/Session.h"

#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

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
    machine.Launch(shell);
}

void EndSession(os::sim::SimProcess& from) {
    from.BroadcastMessage(from.RegisterWindowMessage("EXITZarvoORLO"), 0, 0);
    from.Machine().EndOtherPrograms(from);
    from.End();
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

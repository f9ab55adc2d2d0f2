// The host command's run of the installer: a simulated machine with the distribution folder on
// a CD-ROM, the installation clicked through by a scripted user, a restart, a session in which
// the monitor starts from its Run value, and the removal through the uninstall entry while it
// runs; the transcript of it all.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace setup {

struct SetupSimOptions {
    std::string machineFile; // key=value lines; empty: the demo machine (Windows XP)
    std::string dataDir;     // distribution data (INI files); empty: the source tree's data/
    std::string destination; // a base folder chosen in the folder chooser; empty: the default
    unsigned seconds = 30;   // how long the monitor runs before the removal
    bool uninstall = true;
};

// Reads the command's arguments into `options`: "" when they are good, "help" for -h or --help,
// else a message naming the faulty one (an unknown option, a missing or empty value, a --seconds
// that is no whole number up to host::kMaxRunSeconds, a --dest that is no folder path with its
// drive, host::FolderPathFault).
std::string ParseSetupSimArguments(const std::vector<std::string>& args, SetupSimOptions& options);

int RunSetupOnSimulatedMachine(const SetupSimOptions& options, std::FILE* out);

// The command setup-sim with its arguments (without the program name): the usage for -h or
// --help; bad input named on the error output, with status 2; else the run, with its status.
int SetupSimCommand(const std::vector<std::string>& args, std::FILE* out);

} // namespace setup

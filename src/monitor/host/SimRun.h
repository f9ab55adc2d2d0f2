// The host command's run: a simulated machine with the distribution files, the monitor for some
// virtual seconds, and a readable transcript of what it did.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace os::sim {
class SimMachine;
}

namespace monitor {

struct SimRunOptions {
    unsigned seconds = 30;
    std::string machineFile; // key=value lines; empty: the demo machine
    std::string dataDir;     // distribution files; empty: the source tree's data/
    std::vector<std::string> programArgs;
};

// Reads the command line (without the program name) into `options`. Returns "" when the run can
// start, "help" when the usage was asked for, else a message naming the option at fault (one
// unknown, or with a missing, empty or faulty value).
std::string ParseSimRunArguments(const std::vector<std::string>& args, SimRunOptions& options);

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out);

// The command orlo-sim with its arguments (without the program name): the usage for -h or
// --help; bad input named on the error output, with status 2; else the run, with its status.
int OrloSimCommand(const std::vector<std::string>& args, std::FILE* out);

} // namespace monitor

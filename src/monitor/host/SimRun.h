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

constexpr unsigned kMaxSimSeconds = 4000000; // the virtual clock's milliseconds fit 32 bits

struct SimRunOptions {
    unsigned seconds = 30;
    std::string machineFile; // key=value lines; empty: the demo machine
    std::string dataDir;     // distribution files; empty: the source tree's data/
    std::vector<std::string> programArgs;
};

// Reads the command line (without the program name) into `options`. Returns "" when the run can
// start, "help" when the usage was asked for, else a message naming the option at fault.
std::string ParseSimRunArguments(const std::vector<std::string>& args, SimRunOptions& options);

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out);

} // namespace monitor

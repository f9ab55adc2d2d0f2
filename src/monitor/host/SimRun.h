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

int RunOnSimulatedMachine(const SimRunOptions& options, std::FILE* out);

} // namespace monitor

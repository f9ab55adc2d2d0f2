// Runs the monitor on a simulated machine for some virtual seconds and prints what it did.
//   orlo-sim [--seconds N] [--machine FILE] [--data DIR] [-- program arguments]
// Bad input (an unknown option, a value that is no number, a faulty machine description) is
// named on the error output and ends the command with status 2.
#include "monitor/host/SimRun.h"

#include "host/SandboxedCommand.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    monitor::SimRunOptions options;
    const std::string error =
        monitor::ParseSimRunArguments(std::vector<std::string>(argv + 1, argv + argc), options);
    if (error == "help") {
        std::printf("usage: orlo-sim [--seconds N] [--machine FILE] [--data DIR] [-- ARGS]\n");
        return 0;
    }
    if (!error.empty()) {
        std::fprintf(stderr, "orlo-sim: %s\n", error.c_str());
        return 2;
    }
    // Its sandbox goes however the run ends.
    return host::RunRemovingSandbox(
        "orlo-sim", [&] { return monitor::RunOnSimulatedMachine(options, stdout); });
}

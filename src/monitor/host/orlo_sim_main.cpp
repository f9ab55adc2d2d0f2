// Runs the monitor on a simulated machine for some virtual seconds and prints what it did.
//   orlo-sim [--seconds N] [--machine FILE] [--data DIR] [-- program arguments]
// Bad input (an unknown option, a value that is no number or is empty, a faulty machine
// description) is named on the error output and ends the command with status 2; a temporary
// folder that holds no sandbox, with status 1.
#include "host/SandboxedCommand.h"
#include "monitor/host/SimRun.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Its sandbox goes however the run ends.
    return host::RunRemovingSandbox("orlo-sim",
                                    [&] { return monitor::OrloSimCommand(args, stdout); });
}

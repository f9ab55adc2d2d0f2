// Runs the installer on a simulated machine and prints what it did: the installation clicked
// through, a restart, the monitor started at logon and the removal while it runs.
//   setup-sim [--machine FILE] [--data DIR] [--dest FOLDER] [--seconds N] [--keep]
// Bad input (an unknown option, a value that is no number, a faulty machine description) is
// named on the error output and ends the command with status 2.
#include "setup/host/SetupSim.h"

#include "host/SandboxedCommand.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    setup::SetupSimOptions options;
    const std::string error =
        setup::ParseSetupSimArguments(std::vector<std::string>(argv + 1, argv + argc), options);
    if (error == "help") {
        std::printf("usage: setup-sim [--machine FILE] [--data DIR] [--dest FOLDER] "
                    "[--seconds N] [--keep]\n");
        return 0;
    }
    if (!error.empty()) {
        std::fprintf(stderr, "setup-sim: %s\n", error.c_str());
        return 2;
    }
    // Its sandbox goes however the run ends.
    return host::RunRemovingSandbox(
        "setup-sim", [&] { return setup::RunSetupOnSimulatedMachine(options, stdout); });
}

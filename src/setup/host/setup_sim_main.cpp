// Runs the installer on a simulated machine and prints what it did: the installation clicked
// through, a restart, the monitor started at logon and the removal while it runs.
//   setup-sim [--machine FILE] [--data DIR] [--dest FOLDER] [--seconds N] [--keep]
// Bad input (an unknown option, a value that is no number or is empty, a destination that is no
// absolute folder path or names no folder of the machine, a faulty machine description) is
// named on the error output and ends the command with status 2; a temporary folder that holds
// no sandbox, with status 1.
#include "host/SandboxedCommand.h"
#include "setup/host/SetupSim.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Its sandbox goes however the run ends.
    return host::RunRemovingSandbox("setup-sim",
                                    [&] { return setup::SetupSimCommand(args, stdout); });
}

// Runs the installer on a simulated machine and prints what it did: the installation clicked
// through, a restart, the monitor started at logon and the removal while it runs.
//   setup-sim [--machine FILE] [--data DIR] [--dest FOLDER] [--seconds N] [--keep]
#include "setup/host/SetupSim.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    setup::SetupSimOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--machine" && i + 1 < argc) {
            options.machineFile = argv[++i];
        } else if (arg == "--data" && i + 1 < argc) {
            options.dataDir = argv[++i];
        } else if (arg == "--dest" && i + 1 < argc) {
            options.destination = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--keep") {
            options.uninstall = false;
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: setup-sim [--machine FILE] [--data DIR] [--dest FOLDER] "
                        "[--seconds N] [--keep]\n");
            return 0;
        } else {
            std::fprintf(stderr, "setup-sim: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    return setup::RunSetupOnSimulatedMachine(options, stdout);
}

// Runs the monitor on a simulated machine for some virtual seconds and prints what it did.
//   orlo-sim [--seconds N] [--machine FILE] [--data DIR] [-- program arguments]
#include "monitor/host/SimRun.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    monitor::SimRunOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--machine" && i + 1 < argc) {
            options.machineFile = argv[++i];
        } else if (arg == "--data" && i + 1 < argc) {
            options.dataDir = argv[++i];
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                options.programArgs.push_back(argv[i]);
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: orlo-sim [--seconds N] [--machine FILE] [--data DIR] [-- ARGS]\n");
            return 0;
        } else {
            std::fprintf(stderr, "orlo-sim: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    return monitor::RunOnSimulatedMachine(options, stdout);
}

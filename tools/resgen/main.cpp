// orlo-resgen <outdir>: writes ORLO.EXE's resource files and orlo.rc into outdir.
#include <cstdio>
#include <string>

#include "resgen.h"

int main(int argc, char** argv) {
    // An option is no folder name: "--help" answers with the usage, not with a folder of that name.
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: orlo-resgen <outdir>\n");
        return 2;
    }
    const std::string error = resgen::writeResources(argv[1]);
    if (!error.empty()) {
        std::fprintf(stderr, "orlo-resgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

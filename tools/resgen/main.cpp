// orlo-resgen <outdir>: writes ORLO.EXE's resource files and orlo.rc into outdir.
#include <cstdio>
#include <string>

#include "resgen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
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

// The host command's run of the installer: a simulated machine with the distribution folder on
// a CD-ROM, the installation clicked through by a scripted user, a restart, a session in which
// the monitor starts from its Run value, and the removal through the uninstall entry while it
// runs; the transcript of it all.
#pragma once

#include <cstdio>
#include <string>

namespace setup {

struct SetupSimOptions {
    std::string machineFile; // key=value lines; empty: the demo machine (Windows XP)
    std::string dataDir;     // distribution data (INI files); empty: the source tree's data/
    std::string destination; // a base folder chosen in the folder chooser; empty: the default
    unsigned seconds = 30;   // how long the monitor runs before the removal
    bool uninstall = true;
};

int RunSetupOnSimulatedMachine(const SetupSimOptions& options, std::FILE* out);

} // namespace setup

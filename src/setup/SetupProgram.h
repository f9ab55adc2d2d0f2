// The installer's program-wide values and its two windows, in one object per running program.
#pragma once

#include "os/System.h"

#include <cstdint>
#include <string>

namespace ui {
class Application;
class Platform;
} // namespace ui

namespace setup {

class TForm1;
class TForm2;

struct SetupProgram {
    SetupProgram(os::System& system, ui::Application& app) : System(system), App(app) {}

    os::System& System;
    ui::Application& App;

    std::string SetupDir; // the running installer's folder, ending in a backslash
    std::string WinDir;   // the Windows folder, ending in a backslash
    std::string DestDir;  // the base folder of the installation ("C:\Program Files")
    std::uint32_t ExitMessageId = 0;
    std::string OSName;
    std::uint32_t IsWow64 = 0;

    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
};

// The program entry: the wizard and the folder chooser, then the message loop. With
// "-UNINSTALL_NOW" the removal runs while the wizard is created and the loop ends at once.
// Returns the exit code.
int SetupMain(os::System& system, ui::Platform& platform);

} // namespace setup

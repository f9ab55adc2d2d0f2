// Entry of SETUP.EXE: the installer on the real Win32 calls and real windows.
#include "os/win32/Win32System.h"
#include "setup/SetupProgram.h"
#include "ui/Platform.h"
#include "ui/win32/Win32Platform.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::unique_ptr<os::System> system = os::win32::CreateWin32System();
    std::unique_ptr<ui::Platform> platform = ui::CreateWin32Platform();
    return setup::SetupMain(*system, *platform);
}

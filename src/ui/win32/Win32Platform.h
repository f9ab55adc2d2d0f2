// The control library's real side: the thread's message loop, window timers, message boxes and
// a real window (HWND) for every control. Only the Windows build has it.
#pragma once

#include "ui/Platform.h"

#include <memory>

namespace ui {

std::unique_ptr<Platform> CreateWin32Platform();

} // namespace ui

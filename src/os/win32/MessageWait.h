// Waiting for the thread's next window message, as every Windows the programs run on allows it.
#pragma once

#include <windows.h>

namespace os::win32 {

// Every kind of message. Not QS_ALLINPUT: depending on the headers' target it holds the raw-input
// (Windows XP), touch and pointer (Windows 8) flags, and older systems fail a wait that names
// them at once, which would turn every wait into a busy loop.
constexpr DWORD kAnyMessage = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                              QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;

// Returns when a message is in the queue (at once when one is there already, also one seen but
// left there) or after `timeout` milliseconds. Windows 95 has no single wait that does both.
inline void WaitForQueuedMessage(DWORD timeout) {
    if (HIWORD(GetQueueStatus(kAnyMessage)) != 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, kAnyMessage);
}

} // namespace os::win32

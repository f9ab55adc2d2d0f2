// What the window probes of the Wine tests share: one printed line per check, the loop run for
// a while, and the end: "ready", then the windows kept up until the test's stop file exists.
#pragma once

#include "ui/Application.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace probe {

inline int failures = 0;

// The real window of a control or form.
inline HWND Window(const ui::Component& component) {
    return reinterpret_cast<HWND>(component.Handle());
}

// A window's rectangle on the screen, and its client area's.
inline RECT ScreenRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

inline RECT ClientOnScreen(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Prints "ok WHAT" or "FAIL WHAT".
inline void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) ++failures;
    std::fflush(stdout);
}

// Runs the loop for a while: posted messages, then the paints they cause.
inline void Settle(ui::Application& app, DWORD milliseconds = 400) {
    DWORD start = GetTickCount();
    do {
        app.ProcessMessages();
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
    app.ProcessMessages();
}

// Prints "ready" and keeps the windows up, the mouse moved aside so that it covers none of
// them, until `stopFile` exists (two minutes at the most). Returns the number of failed checks.
inline int RunUntilStopped(ui::Application& app, const std::string& stopFile) {
    std::printf("ready\n");
    std::fflush(stdout);
    SetCursorPos(1000, 700);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 120000;) {
        Settle(app, 200);
        if (GetFileAttributesA(stopFile.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    }
    return failures;
}

} // namespace probe

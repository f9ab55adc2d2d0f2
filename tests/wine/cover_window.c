/* Another program's window that covers the screen: shown, activated, and kept until the
 * program is ended. Its title is "Cover".
 *   cover_window.exe */
#include <windows.h>

#include <string.h>

static LRESULT CALLBACK cover_proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

int main(void) {
    WNDCLASSA wc;
    HWND window;
    MSG msg;
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = cover_proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = "OrloTestCover";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "Cover", WS_OVERLAPPEDWINDOW, 0, 0,
                             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 40,
                             NULL, NULL, wc.hInstance, NULL);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

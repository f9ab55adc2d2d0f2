/* The end of a session as Windows ends it, for the top-level windows whose title contains TEXT:
 *   end_session.exe TEXT
 * Sends each WM_QUERYENDSESSION (a logoff) and prints "query <answer> <title>"; when every one
 * allows it, sends each WM_ENDSESSION with TRUE and prints "end <title>". Prints "absent" when
 * no window matches. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#ifndef ENDSESSION_LOGOFF
#define ENDSESSION_LOGOFF 0x80000000
#endif

typedef struct Windows {
    const char* text;
    HWND found[64];
    int count;
} Windows;

static BOOL CALLBACK end_session_each(HWND window, LPARAM param) {
    Windows* windows = (Windows*)param;
    char text[256];
    if (GetWindowTextA(window, text, sizeof(text)) <= 0 || !strstr(text, windows->text)) return TRUE;
    if (windows->count < 64) windows->found[windows->count++] = window;
    return TRUE;
}

int main(int argc, char** argv) {
    Windows windows;
    char text[256];
    int i, allowed = 1;
    if (argc != 2) {
        fprintf(stderr, "usage: end_session TEXT\n");
        return 64;
    }
    windows.text = argv[1];
    windows.count = 0;
    EnumWindows(end_session_each, (LPARAM)&windows);
    if (windows.count == 0) printf("absent\n");
    for (i = 0; i < windows.count; ++i) {
        LRESULT answer = SendMessageA(windows.found[i], WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        GetWindowTextA(windows.found[i], text, sizeof(text));
        printf("query %ld %s\n", (long)answer, text);
        if (!answer) allowed = 0;
    }
    for (i = 0; allowed && i < windows.count; ++i) {
        GetWindowTextA(windows.found[i], text, sizeof(text));
        SendMessageA(windows.found[i], WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        printf("end %s\n", text);
    }
    return 0;
}

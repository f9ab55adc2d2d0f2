/* Lists the top-level windows whose title contains TEXT, one line each:
 *   visible <width>x<height> <title>     or     hidden <width>x<height> <title>
 * and prints "absent" when there is none.
 *   window_state.exe TEXT */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef struct WindowSearch {
    const char* text;
    int found;
} WindowSearch;

static BOOL CALLBACK window_state_each(HWND window, LPARAM param) {
    WindowSearch* search = (WindowSearch*)param;
    char text[256];
    RECT rect;
    if (GetWindowTextA(window, text, sizeof(text)) <= 0 || !strstr(text, search->text)) return TRUE;
    GetWindowRect(window, &rect);
    printf("%s %ldx%ld %s\n", IsWindowVisible(window) ? "visible" : "hidden",
           (long)(rect.right - rect.left), (long)(rect.bottom - rect.top), text);
    search->found++;
    return TRUE;
}

int main(int argc, char** argv) {
    WindowSearch search;
    if (argc != 2) {
        fprintf(stderr, "usage: window_state TEXT\n");
        return 64;
    }
    search.text = argv[1];
    search.found = 0;
    EnumWindows(window_state_each, (LPARAM)&search);
    if (search.found == 0) printf("absent\n");
    return 0;
}

/* Lists the top-level windows whose title contains TEXT, one line each:
 *   visible <width>x<height> <title>     or     hidden <width>x<height> <title>
 * and prints "absent" when there is none. With -client, each line also gives the window's client
 * area in screen coordinates, after the size:
 *   visible <width>x<height> <left> <top> <right> <bottom> <title>
 *   window_state.exe [-client] TEXT */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef struct WindowSearch {
    const char* text;
    int client;
    int found;
} WindowSearch;

static BOOL CALLBACK window_state_each(HWND window, LPARAM param) {
    WindowSearch* search = (WindowSearch*)param;
    char text[256];
    RECT rect, client;
    if (GetWindowTextA(window, text, sizeof(text)) <= 0 || !strstr(text, search->text)) return TRUE;
    GetWindowRect(window, &rect);
    printf("%s %ldx%ld ", IsWindowVisible(window) ? "visible" : "hidden",
           (long)(rect.right - rect.left), (long)(rect.bottom - rect.top));
    if (search->client) {
        GetClientRect(window, &client);
        MapWindowPoints(window, NULL, (POINT*)&client, 2);
        printf("%ld %ld %ld %ld ", (long)client.left, (long)client.top, (long)client.right,
               (long)client.bottom);
    }
    printf("%s\n", text);
    search->found++;
    return TRUE;
}

int main(int argc, char** argv) {
    WindowSearch search;
    search.client = argc == 3 && strcmp(argv[1], "-client") == 0;
    if (argc != 2 + search.client) {
        fprintf(stderr, "usage: window_state [-client] TEXT\n");
        return 64;
    }
    search.text = argv[1 + search.client];
    search.found = 0;
    EnumWindows(window_state_each, (LPARAM)&search);
    if (search.found == 0) printf("absent\n");
    return 0;
}

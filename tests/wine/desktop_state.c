/* What the user sees of the desktop's windows, for the keyboard and z-order checks:
 *   desktop_state.exe focus    one line: "focus <class> <readonly|-> <text>" for the window
 *                              that has the keyboard focus in the foreground window's thread,
 *                              or "focus none"
 *   desktop_state.exe order    the shown top-level windows that have a title, from the top of
 *                              the z-order down, one title a line, "* " before the foreground
 *                              window's and "  " before the others
 *   desktop_state.exe shape TEXT   "iconic" or "normal" for the first shown top-level window
 *                              whose title contains TEXT, "absent" when none is shown */
#include <windows.h>

#include <stdio.h>
#include <string.h>

static BOOL CALLBACK order_each(HWND window, LPARAM foreground) {
    char text[256];
    if (!IsWindowVisible(window) || GetWindowTextA(window, text, sizeof(text)) <= 0) return TRUE;
    printf("%s%s\n", window == (HWND)foreground ? "* " : "  ", text);
    return TRUE;
}

typedef struct Shape {
    const char* text;
    const char* shape;
} Shape;

static BOOL CALLBACK shape_each(HWND window, LPARAM param) {
    Shape* search = (Shape*)param;
    char text[256];
    if (!IsWindowVisible(window) || GetWindowTextA(window, text, sizeof(text)) <= 0 ||
        !strstr(text, search->text))
        return TRUE;
    search->shape = IsIconic(window) ? "iconic" : "normal";
    return FALSE;
}

static int focus(void) {
    GUITHREADINFO info;
    HWND foreground = GetForegroundWindow();
    char className[128], text[256];
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!foreground || !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, NULL), &info) ||
        !info.hwndFocus) {
        printf("focus none\n");
        return 0;
    }
    GetClassNameA(info.hwndFocus, className, sizeof(className));
    text[0] = 0;
    GetWindowTextA(info.hwndFocus, text, sizeof(text));
    printf("focus %s %s %s\n", className,
           (GetWindowLongA(info.hwndFocus, GWL_STYLE) & ES_READONLY) &&
                   _stricmp(className, "Edit") == 0
               ? "readonly"
               : "-",
           text);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "focus") == 0) return focus();
    if (argc == 2 && strcmp(argv[1], "order") == 0) {
        EnumWindows(order_each, (LPARAM)GetForegroundWindow());
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "shape") == 0) {
        Shape search;
        search.text = argv[2];
        search.shape = "absent";
        EnumWindows(shape_each, (LPARAM)&search);
        printf("%s\n", search.shape);
        return 0;
    }
    fprintf(stderr, "usage: desktop_state focus|order|shape TEXT\n");
    return 64;
}

/* Minimises or restores the shown top-level windows whose title contains TITLE, as the caption's
 * minimise button and the task bar's button do (WM_SYSCOMMAND), or, with "iconify", makes them
 * iconic as another program can, by ShowWindow and no system command:
 *   syscommand.exe TITLE minimize|restore|iconify
 * Prints how many windows it was sent to. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef struct Command {
    const char* title;
    WPARAM command;
    int sent;
} Command;

static BOOL CALLBACK syscommand_each(HWND window, LPARAM param) {
    Command* command = (Command*)param;
    char text[256];
    if (!IsWindowVisible(window) || GetWindowTextA(window, text, sizeof(text)) <= 0 ||
        !strstr(text, command->title))
        return TRUE;
    /* Only a minimised window is restored. */
    if (command->command == SC_RESTORE && !IsIconic(window)) return TRUE;
    if (command->command == 0) {
        ShowWindow(window, SW_MINIMIZE);
        command->sent++;
    } else if (PostMessageA(window, WM_SYSCOMMAND, command->command, 0)) {
        command->sent++;
    }
    return TRUE;
}

int main(int argc, char** argv) {
    Command command;
    if (argc != 3 || (strcmp(argv[2], "minimize") != 0 && strcmp(argv[2], "restore") != 0 &&
                      strcmp(argv[2], "iconify") != 0)) {
        fprintf(stderr, "usage: syscommand TITLE minimize|restore|iconify\n");
        return 64;
    }
    command.title = argv[1];
    command.command = strcmp(argv[2], "minimize") == 0  ? SC_MINIMIZE
                      : strcmp(argv[2], "restore") == 0 ? SC_RESTORE
                                                        : 0;
    command.sent = 0;
    EnumWindows(syscommand_each, (LPARAM)&command);
    printf("%d\n", command.sent);
    return 0;
}

/* Sends a registered window message to every top-level window, as a second program does:
 *   broadcast.exe NAME
 * SendMessageA(HWND_BROADCAST, RegisterWindowMessageA(NAME), 0, 0); returns once every window
 * has handled it. Prints the message number. */
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
    UINT message;
    if (argc != 2) {
        fprintf(stderr, "usage: broadcast NAME\n");
        return 64;
    }
    message = RegisterWindowMessageA(argv[1]);
    if (message == 0) return 1;
    SendMessageA(HWND_BROADCAST, message, 0, 0);
    printf("%s 0x%04X\n", argv[1], message);
    return 0;
}

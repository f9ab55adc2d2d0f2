/* Runs a command line stored in the registry exactly as it stands, as Windows runs a Run value
 * at logon or the uninstall entry of an installed program, and prints it:
 *   run_stored_command.exe KEY VALUE      (KEY below HKEY_LOCAL_MACHINE)
 * CreateProcessA with no application name: the system splits the line itself. Does not wait for
 * the program. */
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
    HKEY key;
    char command[2048];
    DWORD size = sizeof(command) - 1;
    DWORD type = 0;
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    if (argc != 3) {
        fprintf(stderr, "usage: run_stored_command KEY VALUE\n");
        return 64;
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, argv[1], 0, KEY_READ, &key) != ERROR_SUCCESS) {
        printf("no key\n");
        return 1;
    }
    if (RegQueryValueExA(key, argv[2], NULL, &type, (BYTE*)command, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        RegCloseKey(key);
        printf("no value\n");
        return 1;
    }
    RegCloseKey(key);
    command[size] = '\0';
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        printf("cannot run %s (error %lu)\n", command, GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    printf("%s\n", command);
    return 0;
}

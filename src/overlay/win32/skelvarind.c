/* Stand-in for the board maker's overlay library (the translucent ghost monitor), for Wine tests.
 * It draws nothing: each call appends one line, its name and arguments separated by blanks, to
 * the file named by the environment variable SKELVARIND_LOG (when set). */
#include <windows.h>

#include <stdio.h>

static void skelvarind_log(const char* line) {
    char path[MAX_PATH];
    HANDLE file;
    DWORD written;
    DWORD length = GetEnvironmentVariableA("SKELVARIND_LOG", path, sizeof(path));

    if (length == 0 || length >= sizeof(path)) return;
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

void __stdcall InitInstance(void) {
    skelvarind_log("InitInstance");
}

void __stdcall DestoryInstance(void) {
    skelvarind_log("DestoryInstance");
}

void __stdcall ShowTranslucentForm(void) {
    skelvarind_log("ShowTranslucentForm");
}

void __stdcall HideTranslucentForm(void) {
    skelvarind_log("HideTranslucentForm");
}

void __stdcall SetItems(int temperature, int cpu_usage, int vcore) {
    char line[64];
    snprintf(line, sizeof(line), "SetItems %d %d %d", temperature, cpu_usage, vcore);
    skelvarind_log(line);
}

void __stdcall SetCPUTemperature(int temperature) {
    char line[48];
    snprintf(line, sizeof(line), "SetCPUTemperature %d", temperature);
    skelvarind_log(line);
}

void __stdcall SetCPUVCore(const char* vcore) {
    char line[300];
    snprintf(line, sizeof(line), "SetCPUVCore %s", vcore ? vcore : "(null)");
    skelvarind_log(line);
}

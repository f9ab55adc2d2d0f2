/* Reads a shell link (.lnk) through the shell-link object, as Explorer does, and prints what it
 * holds of what the installer sets, one line:
 *   <target>|<description>|<show command>
 * or "unreadable" when it cannot be loaded. The show command is the one the file stores (the
 * field at offset 0x3C of its header): Wine's shell-link object gives SW_SHOWNORMAL for any
 * value other than the three it knows.
 *   shell_link_probe.exe LINKFILE */
#include <windows.h>
/* after windows.h, which they need */
#include <objbase.h>
#include <shlobj.h>

#include <stdio.h>

int main(int argc, char** argv) {
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    WCHAR wide[MAX_PATH];
    char target[MAX_PATH] = "";
    char description[MAX_PATH] = "";
    int show = 0;
    int ok = 0;
    if (argc != 2 || argv[1][0] == '-') {
        fprintf(stderr, "usage: shell_link_probe LINKFILE\n");
        return 2;
    }
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA,
                                   (void**)&link))) {
        if (SUCCEEDED(link->lpVtbl->QueryInterface(link, &IID_IPersistFile, (void**)&file))) {
            MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH);
            if (SUCCEEDED(file->lpVtbl->Load(file, wide, STGM_READ))) {
                link->lpVtbl->GetPath(link, target, sizeof(target), NULL, SLGP_RAWPATH);
                link->lpVtbl->GetDescription(link, description, sizeof(description));
                link->lpVtbl->GetShowCmd(link, &show);
                ok = 1;
            }
            file->lpVtbl->Release(file);
        }
        link->lpVtbl->Release(link);
    }
    CoUninitialize();
    if (!ok) {
        printf("unreadable\n");
        return 1;
    }
    {
        HANDLE raw =
            CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        DWORD stored = 0, got = 0;
        if (raw != INVALID_HANDLE_VALUE) {
            if (SetFilePointer(raw, 0x3C, NULL, FILE_BEGIN) == 0x3C &&
                ReadFile(raw, &stored, sizeof(stored), &got, NULL) && got == sizeof(stored))
                show = (int)stored;
            CloseHandle(raw);
        }
    }
    printf("%s|%s|%d\n", target, description, show);
    return 0;
}

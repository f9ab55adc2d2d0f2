/* Prints where a control of a top-level window lies on the screen, so that a test can click it:
 *   find_control.exe TITLE CLASS TEXT
 * the first child window (at any depth) of a visible top-level window whose title contains TITLE,
 * whose class is CLASS (any case) and whose text is exactly TEXT, a shown one before any hidden
 * one (the pages of a wizard hold buttons of the same text); with CLASS "tab", the tab of
 * that text in a tab control of such a window. One line:
 *   visible <left> <top> <right> <bottom> <centre x> <centre y> <check>
 * ("hidden" first for a control not shown; <check> is the BM_GETCHECK state of a button, else
 * "-"), or "absent". */
#include <windows.h>
/* after windows.h, which it needs */
#include <commctrl.h>

#include <stdio.h>
#include <string.h>

typedef struct ControlSearch {
    const char* title;
    const char* className;
    const char* text;
    HWND found;
    RECT rect;
} ControlSearch;

/* Tab controls keep their items in their own process: the item's text and rectangle are asked
 * for through a block of that process's memory. */
static BOOL find_tab(HWND tabs, ControlSearch* search) {
    struct Remote {
        TCITEMA item;
        RECT rect;
        char text[256];
    } local;
    DWORD pid = 0;
    HANDLE process;
    struct Remote* remote;
    int count, i;
    BOOL found = FALSE;

    GetWindowThreadProcessId(tabs, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return FALSE;
    remote =
        (struct Remote*)VirtualAllocEx(process, NULL, sizeof(local), MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        count = (int)SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
        for (i = 0; i < count && !found; ++i) {
            memset(&local, 0, sizeof(local));
            local.item.mask = TCIF_TEXT;
            local.item.pszText = remote->text;
            local.item.cchTextMax = sizeof(local.text);
            WriteProcessMemory(process, remote, &local, sizeof(local), NULL);
            if (!SendMessageA(tabs, TCM_GETITEMA, i, (LPARAM)&remote->item)) continue;
            if (!SendMessageA(tabs, TCM_GETITEMRECT, i, (LPARAM)&remote->rect)) continue;
            ReadProcessMemory(process, remote, &local, sizeof(local), NULL);
            local.text[sizeof(local.text) - 1] = 0;
            if (strcmp(local.text, search->text) != 0) continue;
            MapWindowPoints(tabs, NULL, (POINT*)&local.rect, 2);
            search->rect = local.rect;
            search->found = tabs;
            found = TRUE;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return found;
}

static BOOL CALLBACK find_child(HWND child, LPARAM param) {
    ControlSearch* search = (ControlSearch*)param;
    char className[64];
    char text[256];
    GetClassNameA(child, className, sizeof(className));
    if (strcmp(search->className, "tab") == 0) {
        if (lstrcmpiA(className, WC_TABCONTROLA) == 0 && find_tab(child, search)) return FALSE;
        return TRUE;
    }
    if (lstrcmpiA(className, search->className) != 0) return TRUE;
    /* An edit keeps its text itself: only WM_GETTEXT reaches it from another process. */
    text[0] = 0;
    if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, 2000,
                             NULL))
        GetWindowTextA(child, text, sizeof(text));
    text[sizeof(text) - 1] = 0;
    if (strcmp(text, search->text) != 0) return TRUE;
    /* A shown control wins over hidden ones of the same text (the pages of a wizard). */
    if (search->found && !IsWindowVisible(child)) return TRUE;
    search->found = child;
    GetWindowRect(child, &search->rect);
    return !IsWindowVisible(child);
}

static BOOL CALLBACK find_top(HWND window, LPARAM param) {
    ControlSearch* search = (ControlSearch*)param;
    char title[256];
    if (!IsWindowVisible(window)) return TRUE;
    GetWindowTextA(window, title, sizeof(title));
    if (!strstr(title, search->title)) return TRUE;
    EnumChildWindows(window, find_child, param);
    return search->found == NULL || !IsWindowVisible(search->found);
}

int main(int argc, char** argv) {
    ControlSearch search;
    BOOL shown;
    char className[64];
    char check[16] = "-";
    if (argc != 4) {
        fprintf(stderr, "usage: find_control TITLE CLASS TEXT\n");
        return 64;
    }
    memset(&search, 0, sizeof(search));
    search.title = argv[1];
    search.className = argv[2];
    search.text = argv[3];
    EnumWindows(find_top, (LPARAM)&search);
    if (!search.found) {
        printf("absent\n");
        return 0;
    }
    shown = IsWindowVisible(search.found);
    GetClassNameA(search.found, className, sizeof(className));
    if (lstrcmpiA(className, "Button") == 0)
        sprintf(check, "%ld", (long)SendMessageA(search.found, BM_GETCHECK, 0, 0));
    printf("%s %ld %ld %ld %ld %ld %ld %s\n", shown ? "visible" : "hidden", (long)search.rect.left,
           (long)search.rect.top, (long)search.rect.right, (long)search.rect.bottom,
           (long)(search.rect.left + search.rect.right) / 2,
           (long)(search.rect.top + search.rect.bottom) / 2, check);
    return 0;
}

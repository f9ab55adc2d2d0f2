/* Loads skelvarind.dll from its own folder, looks up the seven functions by name and calls each
 * once, as the monitor does. Prints "missing <name>" for an absent export and exits 1. */
#include <windows.h>

#include <stdio.h>

typedef void(__stdcall* OverlayVoid)(void);
typedef void(__stdcall* OverlayItems)(int, int, int);
typedef void(__stdcall* OverlayInt)(int);
typedef void(__stdcall* OverlayText)(const char*);
/* GetProcAddress's result goes through this type: casting it straight to a function type with
 * parameters draws -Wcast-function-type. */
typedef void (*OverlayAny)(void);

static FARPROC overlay_find(HMODULE library, const char* name, int* missing) {
    FARPROC function = GetProcAddress(library, name);
    if (!function) {
        printf("missing %s\n", name);
        *missing = 1;
    }
    return function;
}

int main(void) {
    HMODULE library = LoadLibraryA("skelvarind.dll");
    int missing = 0;
    FARPROC init, destroy, show, hide, items, temperature, vcore;

    if (!library) {
        printf("load fail %lu\n", (unsigned long)GetLastError());
        return 1;
    }
    init = overlay_find(library, "InitInstance", &missing);
    destroy = overlay_find(library, "DestoryInstance", &missing);
    show = overlay_find(library, "ShowTranslucentForm", &missing);
    hide = overlay_find(library, "HideTranslucentForm", &missing);
    items = overlay_find(library, "SetItems", &missing);
    temperature = overlay_find(library, "SetCPUTemperature", &missing);
    vcore = overlay_find(library, "SetCPUVCore", &missing);
    if (missing) return 1;

    ((OverlayVoid)init)();
    ((OverlayItems)(OverlayAny)items)(1, 0, 1);
    ((OverlayInt)(OverlayAny)temperature)(-5);
    ((OverlayText)(OverlayAny)vcore)("1.52V");
    ((OverlayVoid)show)();
    ((OverlayVoid)hide)();
    ((OverlayVoid)destroy)();
    FreeLibrary(library);
    printf("done\n");
    return 0;
}

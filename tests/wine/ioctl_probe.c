/* Sends control codes to \\.\ZarvoORLO and prints one line per request:
 *   <code> ok <returned> <reply bytes in hex>     or     <code> fail <error>
 * With no arguments it sends each of the ten codes once with a fixed input; with
 * `CODE INHEX OUTSIZE` (hex code, input bytes as hex digits or "-", decimal output size) it sends
 * that one request. Exits 2 when the device cannot be opened. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct ProbeRequest {
    DWORD code;
    const char* in_hex;
    DWORD out_size;
} ProbeRequest;

static const ProbeRequest probe_defaults[] = {
    {0x22200C, "01010101010101010101010101010101010101", 19},
    {0x222010, "", 16},
    {0x222014, "0100", 1},
    {0x222018, "001F008800000000", 8},
    {0x22201C, "001F0088810C00008100000045000000", 0},
    {0x222020, "A164", 0},
    {0x222024, "A1", 1},
    {0x222028, "A0A1A2A4A5A6A7A8A96B600102030405060708090A0B", 0},
    {0x22202C, "0417", 0},
    {0x222030, "", 0},
};

static DWORD probe_parse_hex(const char* hex, unsigned char* bytes, DWORD capacity) {
    DWORD n = 0;
    if (strcmp(hex, "-") == 0) return 0;
    while (hex[0] && hex[1] && n < capacity) {
        char pair[3] = {hex[0], hex[1], 0};
        bytes[n++] = (unsigned char)strtoul(pair, NULL, 16);
        hex += 2;
    }
    return n;
}

static void probe_send(HANDLE device, DWORD code, const char* in_hex, DWORD out_size) {
    unsigned char in[64];
    unsigned char out[64];
    DWORD in_size = probe_parse_hex(in_hex, in, sizeof(in));
    DWORD returned = 0;
    DWORD i;

    if (out_size > sizeof(out)) out_size = sizeof(out);
    memset(out, 0, sizeof(out));
    if (!DeviceIoControl(device, code, in_size ? in : NULL, in_size, out_size ? out : NULL,
                         out_size, &returned, NULL)) {
        printf("%06lX fail %lu\n", (unsigned long)code, (unsigned long)GetLastError());
        return;
    }
    printf("%06lX ok %lu ", (unsigned long)code, (unsigned long)returned);
    for (i = 0; i < returned && i < sizeof(out); ++i)
        printf("%02X", out[i]);
    printf("\n");
}

int main(int argc, char** argv) {
    HANDLE device = CreateFileA("\\\\.\\ZarvoORLO", GENERIC_READ | GENERIC_WRITE, 0, NULL,
                                OPEN_EXISTING, 0, NULL);
    size_t i;

    if (device == INVALID_HANDLE_VALUE) {
        printf("open fail %lu\n", (unsigned long)GetLastError());
        return 2;
    }
    if (argc >= 4) {
        probe_send(device, (DWORD)strtoul(argv[1], NULL, 16), argv[2], (DWORD)atoi(argv[3]));
    } else {
        for (i = 0; i < sizeof(probe_defaults) / sizeof(probe_defaults[0]); ++i)
            probe_send(device, probe_defaults[i].code, probe_defaults[i].in_hex,
                       probe_defaults[i].out_size);
    }
    CloseHandle(device);
    fflush(stdout);
    return 0;
}

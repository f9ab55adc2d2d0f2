/* Stand-in kernel driver for Wine tests: the simulated board (../board.c) behind the device
 * \Device\ZarvoORLO (\\.\ZarvoORLO for programs).
 *
 * The board's state is set from outside through optional values under the service key's
 * Parameters subkey, read again at every request (a missing value keeps the demo board's value);
 * the chip's registers start, at each load of the driver, from the value "Registers" when it is
 * there. After every request the driver writes what it saw back under the same key, so a test
 * can read it with `reg query`. tools/wine/README.md lists the value names. */
#include <ntddk.h>

#include "../board.h"

#define ORLO_PARAMETERS_KEY                                                                        \
    L"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\ZarvoORLO\\Parameters"
#define ORLO_MAX_INPUT 32

typedef struct OrloDeviceExtension {
    UNICODE_STRING link_name;
    BoardState board;
} OrloDeviceExtension;

/* Query buffer big enough for the largest value read (the 256 chip registers). */
typedef struct OrloValueBuffer {
    KEY_VALUE_PARTIAL_INFORMATION info;
    UCHAR data[256];
} OrloValueBuffer;

static void orlo_copy(UCHAR* dst, const UCHAR* src, ULONG size) {
    ULONG i;
    for (i = 0; i < size; ++i)
        dst[i] = src[i];
}

static HANDLE orlo_open_parameters(void) {
    UNICODE_STRING path;
    OBJECT_ATTRIBUTES attributes;
    HANDLE key = NULL;
    ULONG disposition;

    RtlInitUnicodeString(&path, ORLO_PARAMETERS_KEY);
    InitializeObjectAttributes(&attributes, &path, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                               NULL);
    if (!NT_SUCCESS(ZwCreateKey(&key, KEY_ALL_ACCESS, &attributes, 0, NULL, REG_OPTION_NON_VOLATILE,
                                &disposition)))
        return NULL;
    return key;
}

/* Reads value `name` when it exists with type `type`; returns its size in *size (at most the
 * buffer) and a pointer to its data, or NULL. */
static const UCHAR* orlo_query(HANDLE key, const WCHAR* name, ULONG type, OrloValueBuffer* buffer,
                               ULONG* size) {
    UNICODE_STRING value_name;
    ULONG length = 0;

    RtlInitUnicodeString(&value_name, name);
    if (!NT_SUCCESS(ZwQueryValueKey(key, &value_name, KeyValuePartialInformation, buffer,
                                    sizeof(*buffer), &length)))
        return NULL;
    if (buffer->info.Type != type) return NULL;
    *size = buffer->info.DataLength;
    if (*size > sizeof(buffer->data)) *size = sizeof(buffer->data);
    return buffer->info.Data;
}

static unsigned long orlo_read_dword(HANDLE key, const WCHAR* name, unsigned long fallback) {
    OrloValueBuffer buffer;
    ULONG size = 0;
    const UCHAR* data = orlo_query(key, name, REG_DWORD, &buffer, &size);
    if (!data || size < 4) return fallback;
    return (unsigned long)data[0] | ((unsigned long)data[1] << 8) | ((unsigned long)data[2] << 16) |
           ((unsigned long)data[3] << 24);
}

/* Fills `count` bytes from a REG_BINARY value of exactly that size, else from `fallback`. */
static void orlo_read_bytes(HANDLE key, const WCHAR* name, unsigned char* bytes,
                            const unsigned char* fallback, ULONG count) {
    OrloValueBuffer buffer;
    ULONG size = 0;
    const UCHAR* data = orlo_query(key, name, REG_BINARY, &buffer, &size);
    orlo_copy(bytes, data && size == count ? data : fallback, count);
}

/* Applies the externally set board values; registers and the program's requests stay. */
static void orlo_load_board(HANDLE key, BoardState* board) {
    BoardState demo;
    board_init(&demo);

    board->chip_id = (unsigned char)orlo_read_dword(key, L"ChipId", demo.chip_id);
    orlo_read_bytes(key, L"BoardId", board->board_id, demo.board_id, 8);
    orlo_read_bytes(key, L"FanDivisor", board->fan_divisor, demo.fan_divisor, 3);
    orlo_read_bytes(key, L"FanCount", board->fan_count, demo.fan_count, 3);
    orlo_read_bytes(key, L"Temperature", board->temperature, demo.temperature, 3);
    orlo_read_bytes(key, L"Voltage", board->voltage, demo.voltage, 9);
    board->fail_mask = orlo_read_dword(key, L"FailMask", demo.fail_mask);
    board->pci_dword = orlo_read_dword(key, L"PciDword", demo.pci_dword);
    board->vcore_reply = (unsigned char)orlo_read_dword(key, L"VCoreReply", demo.vcore_reply);
    board->fan_max_rpm = orlo_read_dword(key, L"FanMaxRpm", demo.fan_max_rpm);
    board->mode_busy_reads = orlo_read_dword(key, L"ModeNotReadyReads", demo.mode_busy_reads);
}

/* The chip's registers as the last load left them, or as a test set them before this load. */
static void orlo_load_registers(BoardState* board) {
    HANDLE key = orlo_open_parameters();
    if (!key) return;
    orlo_read_bytes(key, L"Registers", board->registers, board->registers,
                    sizeof(board->registers));
    ZwClose(key);
}

static void orlo_write(HANDLE key, const WCHAR* name, ULONG type, const void* data, ULONG size) {
    UNICODE_STRING value_name;
    RtlInitUnicodeString(&value_name, name);
    ZwSetValueKey(key, &value_name, 0, type, (PVOID)data, size);
}

static void orlo_write_dword(HANDLE key, const WCHAR* name, unsigned long value) {
    ULONG dword = (ULONG)value;
    orlo_write(key, name, REG_DWORD, &dword, sizeof(dword));
}

/* Writes name + six upper-case hex digits of `code` into `name` (room for 16 WCHARs). */
static void orlo_code_name(WCHAR* name, const WCHAR* prefix, ULONG code) {
    static const char digits[] = "0123456789ABCDEF";
    int n = 0;
    int shift;
    while (prefix[n]) {
        name[n] = prefix[n];
        ++n;
    }
    for (shift = 20; shift >= 0; shift -= 4)
        name[n++] = (WCHAR)digits[(code >> shift) & 0xF];
    name[n] = 0;
}

static void orlo_record(HANDLE key, const BoardState* board, ULONG code, const UCHAR* in,
                        ULONG in_size) {
    WCHAR name[16];
    int index = board_code_index(code);

    if (index >= 0) {
        /* Counted in the registry, so the count goes on across driver loads until a test
         * deletes the value. */
        orlo_code_name(name, L"Count_", code);
        orlo_write_dword(key, name, orlo_read_dword(key, name, 0) + 1);
        orlo_code_name(name, L"Last_", code);
        orlo_write(key, name, REG_BINARY, in, in_size);
    }

    orlo_write_dword(key, L"PostCode", board->post_code);
    orlo_write_dword(key, L"PostDword", board->post_dword);
    orlo_write_dword(key, L"SpeakerOn", board->speaker_on);
    orlo_write(key, L"SpeakerTone", REG_BINARY, board->speaker_tone, 2);
    orlo_write_dword(key, L"VCoreIsSet", board->vcore_is_set);
    orlo_write_dword(key, L"VCoreValue", board->vcore_value);
    orlo_write(key, L"Registers", REG_BINARY, board->registers, sizeof(board->registers));
    orlo_write_dword(key, L"ModeNotReadyReads", board->mode_busy_reads);
}

static NTSTATUS orlo_complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI OrloCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    (void)device;
    return orlo_complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI OrloDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    OrloDeviceExtension* extension = (OrloDeviceExtension*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG in_size = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG out_size = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR* system_buffer = (UCHAR*)irp->AssociatedIrp.SystemBuffer;
    UCHAR input[ORLO_MAX_INPUT];
    unsigned long returned = 0;
    int ok = 0;
    HANDLE key;

    /* Input and output share the system buffer: take the input out before the board answers. */
    if (in_size > ORLO_MAX_INPUT || (in_size != 0 && !system_buffer))
        return orlo_complete(irp, STATUS_UNSUCCESSFUL, 0);
    orlo_copy(input, system_buffer, in_size);

    key = orlo_open_parameters();
    if (key) orlo_load_board(key, &extension->board);
    ok = board_ioctl(&extension->board, code, input, in_size, system_buffer, out_size, &returned);
    if (key) {
        orlo_record(key, &extension->board, code, input, in_size);
        ZwClose(key);
    }
    if (!ok) return orlo_complete(irp, STATUS_UNSUCCESSFUL, 0);
    return orlo_complete(irp, STATUS_SUCCESS, returned);
}

static VOID NTAPI OrloUnload(PDRIVER_OBJECT driver) {
    PDEVICE_OBJECT device = driver->DeviceObject;
    if (device) {
        OrloDeviceExtension* extension = (OrloDeviceExtension*)device->DeviceExtension;
        IoDeleteSymbolicLink(&extension->link_name);
        IoDeleteDevice(device);
    }
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registry_path) {
    UNICODE_STRING device_name;
    PDEVICE_OBJECT device = NULL;
    OrloDeviceExtension* extension;
    NTSTATUS status;
    (void)registry_path;

    RtlInitUnicodeString(&device_name, L"\\Device\\ZarvoORLO");
    status = IoCreateDevice(driver, sizeof(OrloDeviceExtension), &device_name, FILE_DEVICE_UNKNOWN,
                            0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;

    extension = (OrloDeviceExtension*)device->DeviceExtension;
    board_init(&extension->board);
    orlo_load_registers(&extension->board);
    RtlInitUnicodeString(&extension->link_name, L"\\DosDevices\\ZarvoORLO");
    status = IoCreateSymbolicLink(&extension->link_name, &device_name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = OrloCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = OrloCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OrloDeviceControl;
    driver->DriverUnload = OrloUnload;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

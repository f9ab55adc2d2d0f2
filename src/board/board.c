/* The simulated mainboard: see board.h. No library calls and no static state, so the same file
 * builds into the host's simulated machine and into the kernel-mode stand-in driver. */
#include "board.h"

#define BOARD_FUNCTION_FIRST 0x803u

/* Input and output sizes of each control code, by index. */
static const unsigned char board_in_sizes[BOARD_CODE_COUNT] = {19, 0, 2, 8, 16, 2, 1, 22, 2, 0};
static const unsigned char board_out_sizes[BOARD_CODE_COUNT] = {19, 16, 1, 8, 0, 0, 1, 0, 0, 0};

int board_code_index(unsigned long code) {
    unsigned long function;
    if (code < BOARD_IOCTL_READ_SENSORS || code > BOARD_IOCTL_SPEAKER_OFF) return -1;
    if ((code & 3u) != 0) return -1;
    function = (code >> 2) & 0xFFFu;
    return (int)(function - BOARD_FUNCTION_FIRST);
}

static void board_zero(unsigned char* bytes, unsigned long size) {
    unsigned long i;
    for (i = 0; i < size; ++i)
        bytes[i] = 0;
}

static unsigned long board_get_le32(const unsigned char* bytes) {
    return (unsigned long)bytes[0] | ((unsigned long)bytes[1] << 8) |
           ((unsigned long)bytes[2] << 16) | ((unsigned long)bytes[3] << 24);
}

static void board_put_le32(unsigned char* bytes, unsigned long value) {
    bytes[0] = (unsigned char)(value & 0xFFu);
    bytes[1] = (unsigned char)((value >> 8) & 0xFFu);
    bytes[2] = (unsigned char)((value >> 16) & 0xFFu);
    bytes[3] = (unsigned char)((value >> 24) & 0xFFu);
}

static unsigned long board_get_count(const BoardState* board, int high) {
    return ((unsigned long)(board->registers[high] & 0x0Fu) << 8) | board->registers[high + 1];
}

static void board_put_count(BoardState* board, int high, unsigned long count) {
    board->registers[high] = (unsigned char)((count >> 8) & 0x0Fu);
    board->registers[high + 1] = (unsigned char)(count & 0xFFu);
}

/* The speed of a point's count: 0 is top speed, the stopped count (or more) is 0. */
static unsigned long board_point_rpm(const BoardState* board, int high) {
    unsigned long count = board_get_count(board, high);
    unsigned long rpm;
    if (count == 0) return board->fan_max_rpm;
    if (count >= BOARD_FAN_STOPPED_COUNT) return 0;
    rpm = 1500000ul / count;
    return rpm > board->fan_max_rpm ? board->fan_max_rpm : rpm;
}

static unsigned long board_fan_rpm(const BoardState* board) {
    const unsigned char* r = board->registers;
    unsigned long t = board->temperature[0];
    unsigned long full_t = r[0xA0], mid_t = r[0xA1], low_t = r[0xA2];
    unsigned long full, mid, low;
    switch (r[0x60] & 3u) {
    case 1:
        full = board_point_rpm(board, 0xA4);
        mid = board_point_rpm(board, 0xA6);
        low = board_point_rpm(board, 0xA8);
        if (t < low_t) return 0;
        if (t < (low_t + mid_t) / 2) return low;
        if (t < mid_t) return (mid + low) / 2;
        if (t < (mid_t + full_t) / 2) return mid;
        if (t < full_t) return (full + mid) / 2;
        return full;
    case 2:
        if (r[0x6B] < BOARD_FAN_STALL_DUTY) return 0;
        return board->fan_max_rpm * r[0x6B] / 255u;
    default:
        return board->fan_max_rpm;
    }
}

void board_fan_measure(BoardState* board) {
    unsigned long rpm = board_fan_rpm(board);
    unsigned long count = rpm == 0 ? BOARD_FAN_STOPPED_COUNT : 1500000ul / rpm;
    unsigned long fastest = board_get_count(board, 0x0A);
    if (count > BOARD_FAN_STOPPED_COUNT) count = BOARD_FAN_STOPPED_COUNT;
    board_put_count(board, 0x20, count);
    if (count < BOARD_FAN_STOPPED_COUNT && (fastest == 0 || count < fastest))
        board_put_count(board, 0x0A, count);
}

void board_init(BoardState* board) {
    static const unsigned char demo_id[8] = {'Z', 'R', 'V', '-', 'A', '9', '2', '0'};
    int i;

    board_zero((unsigned char*)board, (unsigned long)sizeof(*board));

    board->chip_id = 0x92;
    for (i = 0; i < 8; ++i)
        board->board_id[i] = demo_id[i];
    /* Chip 0x92 counts in 12 bits (high bits in the divisor bytes) and reads
     * 1500000 / count: 6000, 6521 and 6250 RPM. */
    for (i = 0; i < 3; ++i)
        board->fan_divisor[i] = 0;
    board->fan_count[0] = 0xFA;
    board->fan_count[1] = 0xE6;
    board->fan_count[2] = 0xF0;
    board->temperature[0] = 40;
    board->temperature[1] = 45;
    board->temperature[2] = 38;
    for (i = 0; i < 9; ++i)
        board->voltage[i] = 0x70;
    board->pci_dword = 0x00000C81ul;
    board->vcore_reply = 0x05;

    board->fan_max_rpm = 3000;
    board->registers[0x60] = 0x01;
    board->registers[0x6B] = 157;
    board->registers[0xA0] = 70;
    board->registers[0xA1] = 50;
    board->registers[0xA2] = 30;
    board_put_count(board, 0xA4, 500);
    board_put_count(board, 0xA6, 625);
    board_put_count(board, 0xA8, 1000);
    board_put_count(board, 0x0A, 500);
    board_fan_measure(board);
}

/* Raw value of sensor packet item `item` (0..18). */
static unsigned char board_sensor_item(const BoardState* board, int item) {
    if (item == 0) return board->chip_id;
    if (item <= 3) return board->fan_divisor[item - 1];
    if (item <= 6) return board->fan_count[item - 4];
    if (item <= 9) return board->temperature[item - 7];
    return board->voltage[item - 10];
}

int board_ioctl(BoardState* board, unsigned long code, const void* in, unsigned long in_size,
                void* out, unsigned long out_size, unsigned long* returned) {
    const unsigned char* src = (const unsigned char*)in;
    unsigned char* dst = (unsigned char*)out;
    int index = board_code_index(code);
    int i;

    if (returned) *returned = 0;
    if (!board || index < 0) return 0;

    board->request_count[index] += 1;
    if (in_size != board_in_sizes[index] || out_size != board_out_sizes[index]) return 0;
    if ((in_size != 0 && !src) || (out_size != 0 && !dst)) return 0;
    if (board->fail_mask & (1ul << index)) return 0;

    switch (code) {
    case BOARD_IOCTL_READ_SENSORS:
        for (i = 0; i < BOARD_SENSOR_PACKET_SIZE; ++i)
            dst[i] = src[i] == 1 ? board_sensor_item(board, i) : 0;
        break;
    case BOARD_IOCTL_READ_MBID:
        board_zero(dst, 16);
        for (i = 0; i < 8; ++i)
            dst[4 + i] = board->board_id[i];
        break;
    case BOARD_IOCTL_VCORE:
        board->vcore_is_set = src[0] != 0;
        board->vcore_value = src[1];
        dst[0] = board->vcore_reply;
        break;
    case BOARD_IOCTL_READ_PCI:
        for (i = 0; i < 4; ++i)
            dst[i] = src[i];
        board_put_le32(dst + 4, board->pci_dword);
        break;
    case BOARD_IOCTL_WRITE_P80:
        board->post_dword = board_get_le32(src + 4);
        board->post_code = board_get_le32(src + 12);
        break;
    case BOARD_IOCTL_SMART_FAN_SET:
        board->registers[src[0]] = src[1];
        break;
    case BOARD_IOCTL_SMART_FAN_PRESTATE:
        if (src[0] == 0x60 && board->mode_busy_reads > 0) {
            board->mode_busy_reads -= 1;
            dst[0] = 0xFF;
            break;
        }
        if (src[0] == 0x20) board_fan_measure(board);
        dst[0] = board->registers[src[0]];
        break;
    case BOARD_IOCTL_SMART_FAN_RESTORE:
        for (i = 0; i < 11; ++i)
            board->registers[src[i]] = src[11 + i];
        break;
    case BOARD_IOCTL_SPEAKER_TONE:
        board->speaker_on = 1;
        board->speaker_tone[0] = src[0];
        board->speaker_tone[1] = src[1];
        break;
    case BOARD_IOCTL_SPEAKER_OFF:
        board->speaker_on = 0;
        break;
    default:
        return 0;
    }

    if (returned) *returned = out_size;
    return 1;
}

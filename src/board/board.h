/* The simulated mainboard behind the driver: chip id, board id, fan divisors, raw sensor bytes,
 * chip registers, VCore byte, POST-code display and speaker. It answers the driver's control
 * codes with their exact sizes and layouts.
 *
 * Plain C, no library calls: the same source is compiled into the host's simulated machine and
 * into the stand-in kernel driver for Wine. */
#ifndef ORLO_BOARD_H
#define ORLO_BOARD_H

#ifdef __cplusplus
extern "C" {
#endif

/* Control codes: device type 0x22, buffered, any access, functions 0x803 to 0x80C. */
#define BOARD_IOCTL_READ_SENSORS 0x22200Cu
#define BOARD_IOCTL_READ_MBID 0x222010u
#define BOARD_IOCTL_VCORE 0x222014u
#define BOARD_IOCTL_READ_PCI 0x222018u
#define BOARD_IOCTL_WRITE_P80 0x22201Cu
#define BOARD_IOCTL_SMART_FAN_SET 0x222020u
#define BOARD_IOCTL_SMART_FAN_PRESTATE 0x222024u
#define BOARD_IOCTL_SMART_FAN_RESTORE 0x222028u
#define BOARD_IOCTL_SPEAKER_TONE 0x22202Cu
#define BOARD_IOCTL_SPEAKER_OFF 0x222030u

#define BOARD_CODE_COUNT 10
#define BOARD_SENSOR_PACKET_SIZE 19

/* Index 0..9 of a control code (function 0x803..0x80C), or -1 for an unknown code. */
int board_code_index(unsigned long code);

typedef struct BoardState {
    unsigned char chip_id;
    unsigned char board_id[8];     /* bytes 4..11 of the mainboard-id reply */
    unsigned char fan_divisor[3];  /* sensor bytes 1..3 (high count bits on chip 0x92) */
    unsigned char fan_count[3];    /* sensor bytes 4..6 */
    unsigned char temperature[3];  /* sensor bytes 7..9 */
    unsigned char voltage[9];      /* sensor bytes 10..18 */
    unsigned char registers[256];  /* chip registers (smart fan, see below) */
    unsigned long pci_dword;       /* answered to any PCI read */
    unsigned char vcore_reply;     /* byte answered to the VCore set request */
    unsigned char vcore_is_set;    /* 1 after a set, 0 after a reset */
    unsigned char vcore_value;     /* value byte of the last VCore request */
    unsigned long post_code;       /* report value of the last POST-code request */
    unsigned long post_dword;      /* PCI dword carried by the last POST-code request */
    unsigned char speaker_on;      /* 1 while a tone sounds */
    unsigned char speaker_tone[2]; /* bytes of the last tone */
    unsigned long fail_mask;       /* bit n set: code of index n fails */
    unsigned long request_count[BOARD_CODE_COUNT];
    unsigned long fan_max_rpm;     /* top speed of the smart-controlled fan */
    unsigned long mode_busy_reads; /* reads of register 0x60 that still answer 0xFF */
} BoardState;

/* The smart fan's registers (chip 0x92). Counts are 12 bits, 1500000 / RPM: the high register
 * holds bits 8..11 in its low nibble; 0xFFF is a stopped fan.
 *   0x60        mode, bits 0..1: 0 full speed, 1 by temperature, 2 by duty cycle (3: full speed)
 *   0x6B        duty 0..255 of the duty-cycle mode; below 26 the fan stalls
 *   0xA0..0xA2  temperature points Full, Mid, Low (degrees, against sensor temperature 0)
 *   0xA4..0xA9  counts of the Full, Mid and Low points (high, low); count 0 is top speed
 *   0x20, 0x21  the fan's count now: measured when 0x20 is read
 *   0x0A, 0x0B  the fastest count measured, kept by the chip (a program may write it too)
 * By temperature the fan runs stopped below Low, at Low up to (Low + Mid) / 2, halfway between
 * Low and Mid up to Mid, at Mid up to (Mid + Full) / 2, halfway between Mid and Full up to Full,
 * and at Full from there on; never faster than fan_max_rpm. */
#define BOARD_FAN_STOPPED_COUNT 0xFFFu
#define BOARD_FAN_STALL_DUTY 26u

/* Measures the fan as the chip does when register 0x20 is read: the count now into 0x20/0x21,
 * and into 0x0A/0x0B when it is faster than the one kept there. */
void board_fan_measure(BoardState* board);

/* Zeroes the whole state, then sets up a demo board: chip 0x92, id "ZRV-A920", high fan count
 * bits 0 with fans near 6000 RPM, 40/45/38 degrees, voltage bytes 0x70, PCI dword 0x00000C81,
 * VCore reply 0x05; a 3000 RPM smart fan as the BIOS leaves it: by temperature, points 70/50/30
 * degrees at 3000/2400/1500 RPM (counts 500/625/1000), duty 157, fastest count 500. */
void board_init(BoardState* board);

/* Answer one request. Returns 1 on success and 0 on failure (unknown code, wrong input or output
 * size, missing buffer, or injected failure). On success *returned is the number of output bytes
 * written. On failure nothing is written to out. */
int board_ioctl(BoardState* board, unsigned long code, const void* in, unsigned long in_size,
                void* out, unsigned long out_size, unsigned long* returned);

#ifdef __cplusplus
}
#endif

#endif

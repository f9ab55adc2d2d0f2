#include "board/board.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct CodeCase {
    unsigned long code;
    unsigned long in_size;
    unsigned long out_size;
};

const CodeCase kCodes[] = {
    {BOARD_IOCTL_READ_SENSORS, 19, 19},
    {BOARD_IOCTL_READ_MBID, 0, 16},
    {BOARD_IOCTL_VCORE, 2, 1},
    {BOARD_IOCTL_READ_PCI, 8, 8},
    {BOARD_IOCTL_WRITE_P80, 16, 0},
    {BOARD_IOCTL_SMART_FAN_SET, 2, 0},
    {BOARD_IOCTL_SMART_FAN_PRESTATE, 1, 1},
    {BOARD_IOCTL_SMART_FAN_RESTORE, 22, 0},
    {BOARD_IOCTL_SPEAKER_TONE, 2, 0},
    {BOARD_IOCTL_SPEAKER_OFF, 0, 0},
};

constexpr unsigned char kUntouched = 0xAA;

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override { board_init(&board); }

    // Sends a request with buffers larger than any size, so a wrong size cannot overrun.
    // Null pointers stand in for buffers of size 0, as a caller would pass them.
    int send(unsigned long code, const std::vector<unsigned char>& in, unsigned long in_size,
             unsigned long out_size, bool null_buffers = false) {
        std::array<unsigned char, 32> in_buf{};
        for (size_t i = 0; i < in.size(); ++i)
            in_buf[i] = in[i];
        out.fill(kUntouched);
        returned = 12345;
        return board_ioctl(&board, code, null_buffers ? nullptr : in_buf.data(), in_size,
                           null_buffers ? nullptr : out.data(), out_size, &returned);
    }

    bool out_untouched() const {
        for (unsigned char b : out)
            if (b != kUntouched) return false;
        return true;
    }

    BoardState board;
    std::array<unsigned char, 32> out{};
    unsigned long returned = 0;
};

TEST(BoardCodeIndex, MapsTheTenCodesAndRejectsOthers) {
    for (int i = 0; i < BOARD_CODE_COUNT; ++i)
        EXPECT_EQ(board_code_index(kCodes[i].code), i);
    for (unsigned long code :
         {0x222008ul, 0x222034ul, 0x22200Dul, 0x22200Eul, 0x23200Cul, 0x0ul, 0x8022200Cul})
        EXPECT_EQ(board_code_index(code), -1) << std::hex << code;
}

TEST_F(BoardTest, EachCodeAcceptsOnlyItsExactSizesAndBuffers) {
    for (int index = 0; index < BOARD_CODE_COUNT; ++index) {
        const CodeCase& c = kCodes[index];
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << c.code);

        EXPECT_EQ(send(c.code, {}, c.in_size, c.out_size), 1);
        EXPECT_EQ(returned, c.out_size);

        const std::array<std::pair<unsigned long, unsigned long>, 4> wrong = {{
            {c.in_size + 1, c.out_size},
            {c.in_size, c.out_size + 1},
            {c.in_size == 0 ? 1 : c.in_size - 1, c.out_size},
            {c.in_size, c.out_size == 0 ? 1 : c.out_size - 1},
        }};
        for (const auto& sizes : wrong) {
            EXPECT_EQ(send(c.code, {}, sizes.first, sizes.second), 0)
                << "in " << std::dec << sizes.first << " out " << sizes.second;
            EXPECT_EQ(returned, 0ul);
            EXPECT_TRUE(out_untouched());
        }

        // Null buffers: fine only when the code has no input and no output.
        bool needs_buffers = c.in_size != 0 || c.out_size != 0;
        EXPECT_EQ(send(c.code, {}, c.in_size, c.out_size, true), needs_buffers ? 0 : 1);
        if (c.in_size != 0 && c.out_size != 0) {
            // Only one of the two buffers missing.
            std::array<unsigned char, 32> in_buf{};
            EXPECT_EQ(
                board_ioctl(&board, c.code, nullptr, c.in_size, out.data(), c.out_size, &returned),
                0);
            EXPECT_EQ(board_ioctl(&board, c.code, in_buf.data(), c.in_size, nullptr, c.out_size,
                                  &returned),
                      0);
        }

        unsigned long sent = c.in_size != 0 && c.out_size != 0 ? 8 : 6;
        EXPECT_EQ(board.request_count[index], sent) << "every request is counted";
    }
}

TEST_F(BoardTest, FailMaskFailsOnlyItsOwnCode) {
    for (int failing = 0; failing < BOARD_CODE_COUNT; ++failing) {
        SCOPED_TRACE(testing::Message() << "failing index " << failing);
        board_init(&board);
        board.fail_mask = 1ul << failing;
        for (int index = 0; index < BOARD_CODE_COUNT; ++index) {
            const CodeCase& c = kCodes[index];
            int ok = send(c.code, {1, 1}, c.in_size, c.out_size);
            EXPECT_EQ(ok, index == failing ? 0 : 1) << "index " << index;
            if (!ok) {
                EXPECT_EQ(returned, 0ul);
                EXPECT_TRUE(out_untouched());
            }
            EXPECT_EQ(board.request_count[index], 1ul);
        }
    }
}

TEST_F(BoardTest, FailedRequestsChangeNoState) {
    board.fail_mask = ~0ul;
    BoardState before;
    std::memcpy(&before, &board, sizeof board); // padding included, for the byte compare
    std::vector<unsigned char> in(22, 0x01);
    for (const CodeCase& c : kCodes)
        EXPECT_EQ(send(c.code, in, c.in_size, c.out_size), 0);
    for (int i = 0; i < BOARD_CODE_COUNT; ++i)
        before.request_count[i] = 1;
    EXPECT_EQ(std::memcmp(&before, &board, sizeof board), 0);
}

TEST_F(BoardTest, UnknownCodeFailsWithoutCounting) {
    EXPECT_EQ(send(0x222034, {}, 0, 0), 0);
    EXPECT_EQ(returned, 0ul);
    for (unsigned long count : board.request_count)
        EXPECT_EQ(count, 0ul);
}

TEST(BoardInit, ZeroesAGarbageStateAndSetsTheDemoBoard) {
    BoardState board;
    std::memset(&board, 0x5C, sizeof board);
    board_init(&board);
    EXPECT_EQ(board.fail_mask, 0ul);
    for (unsigned long count : board.request_count)
        EXPECT_EQ(count, 0ul);
    EXPECT_EQ(board.speaker_on, 0);
    EXPECT_EQ(board.post_code, 0ul);
    EXPECT_EQ(board.chip_id, 0x92);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(board.board_id), 8), "ZRV-A920");
    EXPECT_EQ(board.pci_dword, 0x00000C81ul);
    EXPECT_EQ(board.vcore_reply, 0x05);
    EXPECT_EQ(board.temperature[0], 40);
    EXPECT_EQ(board.temperature[1], 45);
    EXPECT_EQ(board.temperature[2], 38);
    // The smart fan as the BIOS leaves it: by temperature, 70/50/30 degrees at counts 500, 625
    // and 1000; at 40 degrees it runs halfway between Low and Mid, (1500 + 2400) / 2 RPM.
    EXPECT_EQ(board.fan_max_rpm, 3000ul);
    EXPECT_EQ(board.mode_busy_reads, 0ul);
    const std::vector<std::pair<int, int>> smartFan = {
        {0x60, 0x01}, {0x6B, 157},  {0xA0, 70},   {0xA1, 50},   {0xA2, 30},
        {0xA4, 0x01}, {0xA5, 0xF4}, {0xA6, 0x02}, {0xA7, 0x71}, {0xA8, 0x03},
        {0xA9, 0xE8}, {0x0A, 0x01}, {0x0B, 0xF4}, {0x20, 0x03}, {0x21, 0x01}};
    for (int reg = 0; reg < 256; ++reg) {
        int expected = 0;
        for (auto [r, value] : smartFan)
            if (r == reg) expected = value;
        EXPECT_EQ(board.registers[reg], expected) << reg;
    }
}

TEST_F(BoardTest, SensorReplyHoldsOnlyTheItemsAskedFor) {
    // A distinct value per item, so a shifted item shows.
    board.chip_id = 0x40;
    for (int i = 0; i < 3; ++i) {
        board.fan_divisor[i] = static_cast<unsigned char>(0x41 + i);
        board.fan_count[i] = static_cast<unsigned char>(0x44 + i);
        board.temperature[i] = static_cast<unsigned char>(0x47 + i);
    }
    for (int i = 0; i < 9; ++i)
        board.voltage[i] = static_cast<unsigned char>(0x4A + i);

    std::vector<unsigned char> all(19, 1);
    ASSERT_EQ(send(BOARD_IOCTL_READ_SENSORS, all, 19, 19), 1);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(out[i], 0x40 + i) << "byte " << i;
    EXPECT_EQ(out[19], kUntouched);

    // Byte 0, fan 1's divisor, fan 2, temperature 0 and VIN8; a 2 does not ask.
    std::vector<unsigned char> some(19, 0);
    some[0] = some[2] = some[6] = some[7] = some[18] = 1;
    some[10] = 2;
    ASSERT_EQ(send(BOARD_IOCTL_READ_SENSORS, some, 19, 19), 1);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(out[i], some[i] == 1 ? 0x40 + i : 0) << "byte " << i;
}

TEST_F(BoardTest, MainboardIdIsInBytesFourToEleven) {
    ASSERT_EQ(board_ioctl(&board, BOARD_IOCTL_READ_MBID, nullptr, 0, out.data(), 16, &returned), 1);
    const unsigned char expected[16] = {0,   0,   0,   0,   'Z', 'R', 'V', '-',
                                        'A', '9', '2', '0', 0,   0,   0,   0};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(out[i], expected[i]) << "byte " << i;
}

TEST_F(BoardTest, PciReadEchoesTheAddressAndRepliesTheDwordLittleEndian) {
    board.pci_dword = 0x12345678ul;
    ASSERT_EQ(send(BOARD_IOCTL_READ_PCI, {0x00, 0x1F, 0x00, 0x88, 0, 0, 0, 0}, 8, 8), 1);
    const unsigned char expected[8] = {0x00, 0x1F, 0x00, 0x88, 0x78, 0x56, 0x34, 0x12};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(out[i], expected[i]) << "byte " << i;
}

TEST_F(BoardTest, PostCodeRequestRecordsDwordAndReportValue) {
    ASSERT_EQ(send(BOARD_IOCTL_WRITE_P80,
                   {0x00, 0x1F, 0x00, 0x88, 0x81, 0x0C, 0x02, 0xA0, 0x81, 0, 0, 0, 0x45, 0x01, 0x00,
                    0x80},
                   16, 0),
              1);
    EXPECT_EQ(board.post_dword, 0xA0020C81ul);
    EXPECT_EQ(board.post_code, 0x80000145ul);
    EXPECT_TRUE(out_untouched());
}

TEST_F(BoardTest, RegisterWriteReadAndRestoreOfElevenRegisters) {
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_SET, {0x6B, 0x9C}, 2, 0), 1);
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x6B}, 1, 1), 1);
    EXPECT_EQ(out[0], 0x9C);
    EXPECT_EQ(out[1], kUntouched);

    const unsigned char regs[11] = {0xA0, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6,
                                    0xA7, 0xA8, 0xA9, 0x6B, 0x60};
    std::vector<unsigned char> in(22);
    for (int i = 0; i < 11; ++i) {
        in[i] = regs[i];
        in[11 + i] = static_cast<unsigned char>(0x10 + i);
    }
    board.registers[0xA3] = 0x77;
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_RESTORE, in, 22, 0), 1);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(board.registers[regs[i]], 0x10 + i) << "reg " << i;
    EXPECT_EQ(board.registers[0xA3], 0x77);
    EXPECT_EQ(board.registers[0xAA], 0);
}

// The smart fan's count, read as the monitor does (0x20, then 0x21).
struct FanCase {
    const char* what;
    std::vector<std::pair<int, int>> registers;
    unsigned char temperature;
    unsigned long count;
};

TEST_F(BoardTest, SmartFanCountFollowsTheMode) {
    const FanCase cases[] = {
        {"full speed", {{0x60, 0x00}}, 40, 500},
        {"mode 3 is full speed too", {{0x60, 0x03}}, 40, 500},
        {"duty 255", {{0x60, 0x06}, {0x6B, 255}}, 40, 500},
        {"duty 127: 1494 RPM", {{0x60, 0x02}, {0x6B, 127}}, 40, 1004},
        {"duty 25 stalls", {{0x60, 0x02}, {0x6B, 25}}, 40, 0xFFF},
        {"duty 26: 305 RPM, too slow for 12 bits", {{0x60, 0x02}, {0x6B, 26}}, 40, 0xFFF},
        {"duty 38: 447 RPM", {{0x60, 0x02}, {0x6B, 38}}, 40, 3355},
        {"by temperature (0x11), below Low: stopped", {{0x60, 0x11}}, 29, 0xFFF},
        {"at Low", {{0x60, 0x01}}, 30, 1000},
        {"halfway to Mid", {{0x60, 0x01}}, 40, 769},
        {"at Mid", {{0x60, 0x01}}, 50, 625},
        {"halfway to Full", {{0x60, 0x01}}, 60, 555},
        {"at Full", {{0x60, 0x01}}, 70, 500},
        {"a point faster than the fan runs at the fan's top",
         {{0x60, 0x01}, {0xA4, 0x00}, {0xA5, 0x64}},
         90,
         500},
        {"a point of count 0 is top speed", {{0x60, 0x01}, {0xA4, 0}, {0xA5, 0}}, 90, 500},
    };
    for (const FanCase& c : cases) {
        SCOPED_TRACE(c.what);
        board_init(&board);
        for (auto [reg, value] : c.registers)
            board.registers[reg] = static_cast<unsigned char>(value);
        board.temperature[0] = c.temperature;
        ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x20}, 1, 1), 1);
        unsigned long high = out[0];
        ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x21}, 1, 1), 1);
        EXPECT_EQ(high << 8 | out[0], c.count);
    }
}

TEST_F(BoardTest, SmartFanKeepsTheFastestCountItMeasured) {
    auto fastest = [&] { return (board.registers[0x0A] & 0x0F) << 8 | board.registers[0x0B]; };
    board.registers[0x60] = 0;
    board.fan_max_rpm = 1613; // count 929
    // Reading 0x0A does not measure; reading 0x20 does.
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x0A}, 1, 1), 1);
    EXPECT_EQ(fastest(), 500);
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x20}, 1, 1), 1);
    EXPECT_EQ(fastest(), 500);
    board.fan_max_rpm = 3750; // count 400
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x20}, 1, 1), 1);
    EXPECT_EQ(fastest(), 400);
    // A stopped fan is no measurement; an empty register takes the first one.
    board.registers[0x60] = 2;
    board.registers[0x6B] = 0;
    board.registers[0x0A] = board.registers[0x0B] = 0;
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x20}, 1, 1), 1);
    EXPECT_EQ(fastest(), 0);
    board.registers[0x6B] = 255;
    ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x20}, 1, 1), 1);
    EXPECT_EQ(fastest(), 400);
}

TEST_F(BoardTest, ModeRegisterAnswersNotReadyForTheGivenReads) {
    board.mode_busy_reads = 2;
    for (int expected : {0xFF, 0xFF, 0x01, 0x01}) {
        ASSERT_EQ(send(BOARD_IOCTL_SMART_FAN_PRESTATE, {0x60}, 1, 1), 1);
        EXPECT_EQ(out[0], expected);
    }
    EXPECT_EQ(board.mode_busy_reads, 0ul);
}

TEST_F(BoardTest, VCoreRecordsFlagAndValueAndRepliesItsByte) {
    board.vcore_reply = 0x3E;
    ASSERT_EQ(send(BOARD_IOCTL_VCORE, {2, 0x00}, 2, 1), 1);
    EXPECT_EQ(board.vcore_is_set, 1);
    EXPECT_EQ(board.vcore_value, 0x00);
    EXPECT_EQ(out[0], 0x3E);
    EXPECT_EQ(out[1], kUntouched);

    ASSERT_EQ(send(BOARD_IOCTL_VCORE, {0, 0x3E}, 2, 1), 1);
    EXPECT_EQ(board.vcore_is_set, 0);
    EXPECT_EQ(board.vcore_value, 0x3E);
    EXPECT_EQ(out[0], 0x3E);
}

TEST_F(BoardTest, SpeakerToneAndOff) {
    ASSERT_EQ(send(BOARD_IOCTL_SPEAKER_TONE, {0x04, 0x17}, 2, 0), 1);
    EXPECT_EQ(board.speaker_on, 1);
    EXPECT_EQ(board.speaker_tone[0], 0x04);
    EXPECT_EQ(board.speaker_tone[1], 0x17);
    ASSERT_EQ(board_ioctl(&board, BOARD_IOCTL_SPEAKER_OFF, nullptr, 0, nullptr, 0, nullptr), 1);
    EXPECT_EQ(board.speaker_on, 0);
}

} // namespace

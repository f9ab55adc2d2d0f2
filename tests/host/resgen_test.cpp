// Checks of the generated resource files, read back with parsers of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../tools/resgen/resgen.h"

namespace {

using resgen::Bytes;

const std::vector<resgen::OutputFile>& generated() {
    static const std::vector<resgen::OutputFile> files = resgen::allResources();
    return files;
}

const Bytes& fileNamed(const std::string& name) {
    for (const auto& f : generated())
        if (f.name == name) return f.data;
    throw std::runtime_error("not generated: " + name);
}

std::uint32_t le16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::out_of_range("read past end");
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
std::int32_t s32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}
std::string code(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::out_of_range("read past end");
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

struct Chunk {
    std::string id;   // "LIST" chunks carry their list type here instead
    std::size_t data; // first byte after the size (after the list type for lists)
    std::uint32_t size;
};

// The chunks laid end to end in [begin, end), each padded to an even length.
std::vector<Chunk> chunks(const Bytes& b, std::size_t begin, std::size_t end) {
    std::vector<Chunk> out;
    std::size_t at = begin;
    while (at < end) {
        Chunk c{code(b, at), at + 8, le32(b, at + 4)};
        if (c.data + c.size > end) throw std::runtime_error("chunk " + c.id + " overruns");
        if (c.id == "LIST") {
            c.id = code(b, c.data);
            c.data += 4;
            c.size -= 4;
        }
        out.push_back(c);
        at = c.data + c.size + (c.size % 2);
    }
    if (at != end) throw std::runtime_error("chunks overrun their list");
    return out;
}

Chunk find(const std::vector<Chunk>& list, const std::string& id) {
    for (const Chunk& c : list)
        if (c.id == id) return c;
    throw std::runtime_error("no chunk " + id);
}

// Strict BI_RLE8 decoder of a bottom-up picture, giving rows from the top. Every row must be
// filled before its end-of-line code, and the data must end with the end-of-bitmap code.
std::vector<std::uint8_t> decodeRle8(const Bytes& b, std::size_t at, std::size_t n, int w, int h) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w * h));
    const std::size_t end = at + n;
    int x = 0, y = 0; // y counts from the bottom
    auto put = [&](std::uint8_t v) {
        if (x >= w || y >= h) throw std::runtime_error("RLE8 writes past the row");
        px[static_cast<std::size_t>((h - 1 - y) * w + x++)] = v;
    };
    while (true) {
        if (at + 2 > end) throw std::runtime_error("RLE8 data without end of bitmap");
        const std::uint8_t count = b[at], value = b[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(value);
        } else if (value == 0 || value == 1) {
            if (x != w) throw std::runtime_error("RLE8 row left short");
            ++y;
            x = 0;
            if (value == 1) break;
        } else if (value == 2) {
            throw std::runtime_error("unexpected RLE8 delta");
        } else {
            if (at + value > end) throw std::runtime_error("RLE8 literal overruns");
            for (int i = 0; i < value; ++i)
                put(b[at + i]);
            at += value + (value % 2);
        }
    }
    if (y != h) throw std::runtime_error("RLE8 picture has the wrong number of rows");
    if (at != end) throw std::runtime_error("bytes after RLE8 end of bitmap");
    return px;
}

struct Colour {
    std::uint8_t r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

Colour paletteEntry(const Bytes& b, std::size_t paletteAt, std::size_t i) {
    const std::size_t at = paletteAt + 4 * i;
    return {b.at(at + 2), b.at(at + 1), b.at(at)};
}

TEST(ResgenTest, DigitBitmapsAreFourBitSevenSegmentDigits) {
    const Colour silver{192, 192, 192}, gray{128, 128, 128};
    const Colour lit[] = {{255, 0, 0}, {0, 255, 0}};
    const char* names[] = {"RED", "GREEN"};
    std::vector<std::uint8_t> shapes[2][10]; // 1 where a segment is lit
    for (int c = 0; c < 2; ++c) {
        for (int d = 0; d <= 9; ++d) {
            const std::string name = names[c] + std::to_string(d) + ".bmp";
            SCOPED_TRACE(name);
            const Bytes& b = fileNamed(name);
            ASSERT_EQ(b.size(), 14u + 40 + 64 + 32 * 16);
            EXPECT_EQ(code(b, 0).substr(0, 2), "BM");
            EXPECT_EQ(le32(b, 2), b.size());
            EXPECT_EQ(le32(b, 10), 14u + 40 + 64);
            EXPECT_EQ(le32(b, 14), 40u);
            EXPECT_EQ(s32(b, 18), 32);
            EXPECT_EQ(s32(b, 22), 32);
            EXPECT_EQ(le16(b, 26), 1u);
            EXPECT_EQ(le16(b, 28), 4u);
            EXPECT_EQ(le32(b, 30), 0u); // BI_RGB
            EXPECT_EQ(le32(b, 46), 16u);

            int minX = 32, maxX = -1;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const std::uint8_t byte = b[118 + (31 - y) * 16 + x / 2];
                    const int index = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
                    const Colour colour = paletteEntry(b, 54, static_cast<std::size_t>(index));
                    ASSERT_TRUE(colour == silver || colour == gray || colour == lit[c])
                        << "pixel " << x << "," << y;
                    shapes[c][d].push_back(colour == lit[c]);
                    if (!(colour == silver)) {
                        minX = std::min(minX, x);
                        maxX = std::max(maxX, x);
                    }
                    // Transparent drawing takes the bottom-left pixel's colour as the ground.
                    if (x == 0 && y == 31) {
                        EXPECT_TRUE(colour == silver);
                    }
                }
            }
            // The digits of a number sit 24 pixels apart and must not overlap.
            EXPECT_LE(maxX - minX + 1, 24);
        }
    }
    for (int d = 0; d <= 9; ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(shapes[0][d], shapes[1][d]) << "red and green shapes differ";
        for (std::size_t i = 0; i < shapes[0][d].size(); ++i)
            if (shapes[0][d][i]) {
                ASSERT_TRUE(shapes[0][8][i]) << "lit outside the segments of 8";
            }
        for (int e = 0; e < d; ++e)
            EXPECT_NE(shapes[0][d], shapes[0][e]) << "same as " << e;
    }
    // Digit 1 lights the two right-hand segments only.
    for (int i = 0; i < 32 * 32; ++i)
        if (shapes[0][1][static_cast<std::size_t>(i)]) {
            ASSERT_GE(i % 32, 16);
        }
}

TEST(ResgenTest, Rle8EncodingDecodesToThePicture) {
    // Rows that reach each path of the encoder: a run longer than 255, a literal longer than
    // 255, an odd literal before a run, singles and pairs, values 0..2 that look like escapes.
    const int w = 300;
    resgen::IndexedImage img(w, 6);
    unsigned seed = 12345;
    for (int x = 0; x < w; ++x) {
        img.at(x, 0) = 7;
        img.at(x, 1) = static_cast<std::uint8_t>(x);
        img.at(x, 2) = static_cast<std::uint8_t>(x < 3 ? 1 + x : 9);
        img.at(x, 3) = static_cast<std::uint8_t>(x % 3 == 2 ? 5 : x / 3);
        img.at(x, 4) = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 28);
        img.at(x, 5) = static_cast<std::uint8_t>(x % 3);
    }
    const Bytes rle = resgen::encodeRle8(img);
    EXPECT_EQ(decodeRle8(rle, 0, rle.size(), w, 6), img.pixels);

    // A plain picture takes one run and one end code per row.
    resgen::IndexedImage plain(65, 65, 3);
    EXPECT_EQ(resgen::encodeRle8(plain).size(), 65u * 4);
}

TEST(ResgenTest, FanAviHasSixRle8FramesAtFifteenPerSecond) {
    const Bytes& b = fileNamed("FAN.avi");
    ASSERT_EQ(code(b, 0), "RIFF");
    ASSERT_EQ(le32(b, 4) + 8, b.size());
    ASSERT_EQ(code(b, 8), "AVI ");
    const auto top = chunks(b, 12, b.size());
    const Chunk hdrl = find(top, "hdrl"), movi = find(top, "movi"), idx1 = find(top, "idx1");

    const auto header = chunks(b, hdrl.data, hdrl.data + hdrl.size);
    const Chunk avih = find(header, "avih");
    ASSERT_EQ(avih.size, 56u);
    EXPECT_EQ(le32(b, avih.data), 66667u);
    EXPECT_NE(le32(b, avih.data + 12) & 0x10, 0u); // has index
    EXPECT_EQ(le32(b, avih.data + 16), 6u);
    EXPECT_EQ(le32(b, avih.data + 24), 1u); // streams
    EXPECT_EQ(le32(b, avih.data + 32), 65u);
    EXPECT_EQ(le32(b, avih.data + 36), 65u);
    const std::uint32_t buffer = le32(b, avih.data + 28);

    ASSERT_EQ(
        std::count_if(header.begin(), header.end(), [](const Chunk& c) { return c.id == "strl"; }),
        1);
    const auto stream =
        chunks(b, find(header, "strl").data, find(header, "strl").data + find(header, "strl").size);
    const Chunk strh = find(stream, "strh"), strf = find(stream, "strf");
    EXPECT_EQ(code(b, strh.data), "vids");
    EXPECT_EQ(code(b, strh.data + 4), "mrle");
    EXPECT_EQ(le32(b, strh.data + 20), 1u);  // scale
    EXPECT_EQ(le32(b, strh.data + 24), 15u); // rate
    EXPECT_EQ(le32(b, strh.data + 32), 6u);  // length
    const std::uint32_t streamBuffer = le32(b, strh.data + 36);

    ASSERT_EQ(strf.size, 40u + 256 * 4);
    EXPECT_EQ(s32(b, strf.data + 4), 65);
    EXPECT_EQ(s32(b, strf.data + 8), 65);
    EXPECT_EQ(le16(b, strf.data + 14), 8u);
    EXPECT_EQ(le32(b, strf.data + 16), 1u); // BI_RLE8
    EXPECT_EQ(le32(b, strf.data + 32), 256u);

    const auto frames = chunks(b, movi.data, movi.data + movi.size);
    ASSERT_EQ(frames.size(), 6u);
    ASSERT_EQ(idx1.size, 6u * 16);
    const std::size_t moviCode = movi.data - 4;
    std::vector<std::vector<std::uint8_t>> pictures;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        SCOPED_TRACE(f);
        const Chunk& frame = frames[f];
        EXPECT_EQ(frame.id, "00dc");
        EXPECT_LE(frame.size + 8, std::min(buffer, streamBuffer));
        const std::size_t entry = idx1.data + 16 * f;
        EXPECT_EQ(code(b, entry), "00dc");
        EXPECT_EQ(le32(b, entry + 4), 0x10u); // key frame
        EXPECT_EQ(moviCode + le32(b, entry + 8), frame.data - 8);
        EXPECT_EQ(le32(b, entry + 12), frame.size);
        pictures.push_back(decodeRle8(b, frame.data, frame.size, 65, 65));
        // The control's transparent colour is the frame's corner pixel: all four corners show
        // the ground.
        const auto& p = pictures.back();
        EXPECT_EQ(p[0], p[64]);
        EXPECT_EQ(p[0], p[64 * 65]);
        EXPECT_EQ(p[0], p[65 * 65 - 1]);
        for (std::size_t e = 0; e < f; ++e)
            EXPECT_NE(p, pictures[e]) << "same as frame " << e;
    }
}

TEST(ResgenTest, IconHoldsMaskedImagesOf32And16Pixels) {
    const Bytes& b = fileNamed("ORLO.ico");
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u);
    ASSERT_EQ(le16(b, 4), 2u);
    const int sizes[] = {32, 16};
    for (std::size_t i = 0; i < 2; ++i) {
        const int size = sizes[i];
        SCOPED_TRACE(size);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(b[entry], size);
        EXPECT_EQ(b[entry + 1], size);
        const std::uint32_t bytes = le32(b, entry + 8), offset = le32(b, entry + 12);
        ASSERT_LE(offset + bytes, b.size());
        const std::uint32_t rowBytes = size / 2, maskRow = 4; // 4-bit rows; 1-bit rows padded to 4
        EXPECT_EQ(bytes, 40 + 64 + static_cast<std::uint32_t>(size) * (rowBytes + maskRow));
        EXPECT_EQ(s32(b, offset + 4), size);
        EXPECT_EQ(s32(b, offset + 8), 2 * size);
        EXPECT_EQ(le16(b, offset + 14), 4u);
        const std::size_t mask = offset + 40 + 64 + size * rowBytes;
        auto transparent = [&](int x, int y) {
            return (b[mask + (size - 1 - y) * maskRow + x / 8] >> (7 - x % 8)) & 1;
        };
        EXPECT_TRUE(transparent(0, 0));
        EXPECT_TRUE(transparent(size - 1, size - 1));
        EXPECT_FALSE(transparent(size / 2, size / 2));
    }
}

// A cursor file (type 2) of one black-and-white 32 x 32 image whose hot spot lies on the
// picture's black outline at the finger's tip; the corners let the screen show through.
TEST(ResgenTest, HandCursorIsOneMonochromeImageWithItsHotSpotOnTheFinger) {
    const Bytes& b = fileNamed("HAND.cur");
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 2u);
    ASSERT_EQ(le16(b, 4), 1u);
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(b[7], 32);
    const std::uint32_t hotX = le16(b, 10), hotY = le16(b, 12);
    const std::uint32_t bytes = le32(b, 14), offset = le32(b, 18);
    ASSERT_EQ(offset, 22u);
    ASSERT_EQ(offset + bytes, b.size());
    const std::uint32_t row = 4; // 1-bit rows padded to four bytes
    EXPECT_EQ(bytes, 40 + 8 + 2 * 32 * row);
    EXPECT_EQ(s32(b, offset + 4), 32);
    EXPECT_EQ(s32(b, offset + 8), 64);
    EXPECT_EQ(le16(b, offset + 14), 1u);
    EXPECT_EQ(le32(b, offset + 40), 0x000000u);
    EXPECT_EQ(le32(b, offset + 44), 0xFFFFFFu);
    const std::size_t colour = offset + 48, mask = colour + 32 * row;
    auto bit = [&](std::size_t rows, std::uint32_t x, std::uint32_t y) {
        return (b[rows + (31 - y) * row + x / 8] >> (7 - x % 8)) & 1;
    };
    EXPECT_FALSE(bit(mask, hotX, hotY)) << "the hot spot is drawn";
    EXPECT_FALSE(bit(colour, hotX, hotY)) << "in black";
    for (std::uint32_t corner : {0u, 31u}) {
        EXPECT_TRUE(bit(mask, corner, 0));
        EXPECT_TRUE(bit(mask, corner, 31));
    }
    // White inside the outline: the finger below its tip.
    EXPECT_FALSE(bit(mask, hotX, hotY + 2));
    EXPECT_TRUE(bit(colour, hotX, hotY + 2));
}

TEST(ResgenTest, WarningSoundIsAboutOneSecondOfTwoTones) {
    const Bytes& b = fileNamed("warning.wav");
    ASSERT_EQ(code(b, 0), "RIFF");
    ASSERT_EQ(le32(b, 4) + 8, b.size());
    ASSERT_EQ(code(b, 8), "WAVE");
    const auto top = chunks(b, 12, b.size());
    const Chunk fmt = find(top, "fmt "), data = find(top, "data");
    ASSERT_EQ(fmt.size, 16u);
    EXPECT_EQ(le16(b, fmt.data), 1u); // PCM
    EXPECT_EQ(le16(b, fmt.data + 2), 1u);
    const std::uint32_t rate = le32(b, fmt.data + 4);
    const std::uint32_t align = le16(b, fmt.data + 12), bits = le16(b, fmt.data + 14);
    ASSERT_EQ(bits, 16u);
    EXPECT_EQ(align, 2u);
    EXPECT_EQ(le32(b, fmt.data + 8), rate * align);
    ASSERT_EQ(data.size % align, 0u);
    const double seconds = static_cast<double>(data.size / align) / rate;
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 1.5);

    auto sample = [&](std::size_t i) {
        return static_cast<std::int16_t>(le16(b, data.data + 2 * i));
    };
    int peak = 0;
    for (std::size_t i = 0; i < data.size / 2; ++i)
        peak = std::max(peak, std::abs(sample(i)));
    EXPECT_GT(peak, 32767 / 4);
    // Rising zero crossings per second inside the first and the second beep.
    auto pitch = [&](double from, double to) {
        int crossings = 0;
        for (auto i = static_cast<std::size_t>(from * rate); i < to * rate; ++i)
            crossings += sample(i) < 0 && sample(i + 1) >= 0;
        return crossings / (to - from);
    };
    const double first = pitch(0.02, 0.18), second = pitch(0.27, 0.43);
    EXPECT_GT(first, 200.0);
    EXPECT_GT(second, 200.0);
    EXPECT_GT(std::abs(first - second), 50.0) << "one tone only";
}

TEST(ResgenTest, ResourceScriptNamesEveryResourceAndFile) {
    const Bytes& b = fileNamed("orlo.rc");
    const std::string rc(b.begin(), b.end());
    std::set<std::string> lines;
    std::size_t at = 0;
    while (at < rc.size()) {
        std::size_t nl = rc.find('\n', at);
        if (nl == std::string::npos) nl = rc.size();
        lines.insert(rc.substr(at, nl - at));
        at = nl + 1;
    }
    std::set<std::string> expected = {"MAINICON ICON \"ORLO.ico\"", "1 ICON \"ORLO.ico\"",
                                      "FAN AVI \"FAN.avi\"", "HANDPOINT CURSOR \"HAND.cur\""};
    for (const char* colour : {"RED", "GREEN"})
        for (int d = 0; d <= 9; ++d) {
            const std::string name = colour + std::to_string(d);
            expected.insert(name + " BITMAP \"" + name + ".bmp\"");
        }
    for (const std::string& line : expected)
        EXPECT_EQ(lines.count(line), 1u) << line;
    // Every file the script names is generated beside it.
    for (const std::string& line : lines) {
        const std::size_t q = line.find('"');
        if (line.rfind("//", 0) == 0 || q == std::string::npos) continue;
        EXPECT_NO_THROW(fileNamed(line.substr(q + 1, line.rfind('"') - q - 1))) << line;
    }
}

TEST(ResgenTest, SetupScriptNamesTheIconAndThePagePicture) {
    const Bytes& b = fileNamed("setup.rc");
    const std::string rc(b.begin(), b.end());
    for (const char* line : {"MAINICON ICON \"ORLO.ico\"", "SETUP BITMAP \"SETUP.bmp\""})
        EXPECT_NE(rc.find(line), std::string::npos) << line;
    const Bytes& bmp = fileNamed("SETUP.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(le32(bmp, 18), static_cast<std::uint32_t>(resgen::kSetupPictureWidth));
    EXPECT_EQ(le32(bmp, 22), static_cast<std::uint32_t>(resgen::kSetupPictureHeight));
    EXPECT_EQ(le16(bmp, 28), 4u); // 16 colours
}

} // namespace

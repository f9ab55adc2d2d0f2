// Digit bitmaps and the 4-bit DIB writer.
#include <stdexcept>

#include "Drawing.h"

namespace resgen {

namespace {

// Segment bits a..g = 0..6: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
constexpr std::uint8_t kSegments[10] = {
    0x3F, // 0: a b c d e f
    0x06, // 1: b c
    0x5B, // 2: a b d e g
    0x4F, // 3: a b c d g
    0x66, // 4: b c f g
    0x6D, // 5: a c d f g
    0x7D, // 6: a c d e f g
    0x07, // 7: a b c
    0x7F, // 8: all
    0x6F, // 9: a b c d f g
};

// Layout inside the 32 x 32 picture: bars three pixels thick with pointed ends, a one-pixel
// gap at each joint. The digit stays within columns 5..23, since the images of a number sit
// 24 pixels apart, and off the bottom-left pixel, whose colour is the transparent one.
constexpr int kLeft = 6, kRight = 22;               // centre columns of the vertical bars
constexpr int kTop = 3, kMiddle = 15, kBottom = 27; // centre rows of the horizontal bars

void horizontalBar(IndexedImage& img, int row, std::uint8_t colour) {
    for (int d = -1; d <= 1; ++d) {
        int inset = d < 0 ? -d : d;
        for (int x = kLeft + 2 + inset; x <= kRight - 2 - inset; ++x)
            img.at(x, row + d) = colour;
    }
}

void verticalBar(IndexedImage& img, int column, int fromRow, int toRow, std::uint8_t colour) {
    for (int d = -1; d <= 1; ++d) {
        int inset = d < 0 ? -d : d;
        for (int y = fromRow + 2 + inset; y <= toRow - 2 - inset; ++y)
            img.at(column + d, y) = colour;
    }
}

} // namespace

const std::vector<Rgb>& vgaPalette() {
    static const std::vector<Rgb> palette = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    return palette;
}

IndexedImage drawDigit(int digit, DigitColour colour) {
    if (digit < 0 || digit > 9) throw std::invalid_argument("digit out of range");
    IndexedImage img(kDigitSize, kDigitSize, Silver);
    const std::uint8_t lit = colour == DigitColour::Red ? Red : Lime;
    auto paint = [&](int segment) {
        return (kSegments[digit] >> segment) & 1 ? lit : static_cast<std::uint8_t>(Gray);
    };
    horizontalBar(img, kTop, paint(0));
    verticalBar(img, kRight, kTop, kMiddle, paint(1));
    verticalBar(img, kRight, kMiddle, kBottom, paint(2));
    horizontalBar(img, kBottom, paint(3));
    verticalBar(img, kLeft, kMiddle, kBottom, paint(4));
    verticalBar(img, kLeft, kTop, kMiddle, paint(5));
    horizontalBar(img, kMiddle, paint(6));
    return img;
}

namespace detail {

Bytes packRows4(const IndexedImage& image) {
    const int stride = ((image.width * 4 + 31) / 32) * 4;
    Bytes rows(static_cast<std::size_t>(stride * image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = &rows[static_cast<std::size_t>((image.height - 1 - y) * stride)];
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t v = image.at(x, y) & 0x0F;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
    }
    return rows;
}

void writePalette(ByteWriter& out, const std::vector<Rgb>& palette, std::size_t entries) {
    for (std::size_t i = 0; i < entries; ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
        out.u8(0);
    }
}

void writeInfoHeader(ByteWriter& out, int width, int height, int bitCount,
                     std::uint32_t compression, std::uint32_t sizeImage,
                     std::uint32_t coloursUsed) {
    out.u32(40);
    out.i32(width);
    out.i32(height);
    out.u16(1);
    out.u16(static_cast<std::uint16_t>(bitCount));
    out.u32(compression);
    out.u32(sizeImage);
    out.i32(2835); // 72 dpi
    out.i32(2835);
    out.u32(coloursUsed);
    out.u32(0);
}

} // namespace detail

Bytes encodeBmp4(const IndexedImage& image, const std::vector<Rgb>& palette) {
    const Bytes rows = detail::packRows4(image);
    const std::uint32_t offBits = 14 + 40 + 16 * 4;
    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(offBits + static_cast<std::uint32_t>(rows.size()));
    out.u32(0);
    out.u32(offBits);
    detail::writeInfoHeader(out, image.width, image.height, 4, 0,
                            static_cast<std::uint32_t>(rows.size()), 16);
    detail::writePalette(out, palette, 16);
    out.bytes(rows);
    return out.data();
}

} // namespace resgen

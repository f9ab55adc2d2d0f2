// The program's own hand-point cursor: the pointing hand of newer systems for those that lack
// one (Windows 95 and NT 4.0). Black outline, white hand, the hot spot at the finger's tip.
#include "Drawing.h"

namespace resgen {

namespace {

// '#' black, 'o' white, '.' transparent; rows from the top, the picture in the top-left corner.
const char* const kHand[] = {
    ".....##.........", //
    "....#oo#........", //
    "....#oo#........", //
    "....#oo#........", //
    "....#oo#........", //
    "....#oo###......", //
    "....#oo#oo###...", //
    "....#oo#oo#oo##.", //
    ".##.#oo#oo#oo#o#", //
    "#oo##oooooooo#o#", //
    "#ooo#oooooooooo#", //
    ".#oo#oooooooooo#", //
    "..#oooooooooooo#", //
    "..#oooooooooooo#", //
    "...#ooooooooooo#", //
    "...#oooooooooo#.", //
    "....#ooooooooo#.", //
    "....#ooooooooo#.", //
    ".....#ooooooo#..", //
    ".....#ooooooo#..", //
    ".....#########..", //
};

} // namespace

Bytes makeHandCursor() {
    const int size = kHandCursorSize;
    const int stride = ((size + 31) / 32) * 4; // 1-bit rows, padded to four bytes
    Bytes colour(static_cast<std::size_t>(stride * size), 0);
    Bytes mask(static_cast<std::size_t>(stride * size), 0);
    const int rows = static_cast<int>(sizeof(kHand) / sizeof(kHand[0]));
    for (int y = 0; y < size; ++y) {
        const char* row = y < rows ? kHand[y] : "";
        bool ended = false;
        for (int x = 0; x < size; ++x) {
            if (!ended && row[x] == '\0') ended = true;
            const char c = ended ? '.' : row[x];
            // Bottom-up rows; a set mask bit lets the screen show through, a set colour bit is
            // white.
            const auto at = static_cast<std::size_t>((size - 1 - y) * stride + x / 8);
            const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            if (c == '.') mask[at] |= bit;
            if (c == 'o') colour[at] |= bit;
        }
    }

    ByteWriter image;
    // As in an icon, the header counts the colour and the mask rows together: twice the height.
    detail::writeInfoHeader(image, size, 2 * size, 1, 0,
                            static_cast<std::uint32_t>(colour.size() + mask.size()), 0);
    detail::writePalette(image, {Rgb{0, 0, 0}, Rgb{255, 255, 255}}, 2);
    image.bytes(colour);
    image.bytes(mask);

    ByteWriter out;
    out.u16(0);
    out.u16(2); // cursor
    out.u16(1); // one image
    out.u8(static_cast<std::uint8_t>(size));
    out.u8(static_cast<std::uint8_t>(size));
    out.u8(2); // colours
    out.u8(0);
    out.u16(kHandCursorHotSpotX);
    out.u16(kHandCursorHotSpotY);
    out.u32(static_cast<std::uint32_t>(image.data().size()));
    out.u32(6 + 16);
    out.bytes(image.data());
    return out.data();
}

} // namespace resgen

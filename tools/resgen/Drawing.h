// Helpers shared by the picture generators.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "resgen.h"

namespace resgen::detail {

// Pixel rows of a 4-bit DIB: bottom row first, two pixels a byte (high nibble left), each row
// padded to a multiple of four bytes.
Bytes packRows4(const IndexedImage& image);
// Palette entries as RGBQUAD (blue, green, red, 0).
void writePalette(ByteWriter& out, const std::vector<Rgb>& palette, std::size_t entries);
void writeInfoHeader(ByteWriter& out, int width, int height, int bitCount,
                     std::uint32_t compression, std::uint32_t sizeImage, std::uint32_t coloursUsed);

// The parts of the fan picture, from the outside in.
enum class FanPart : std::uint8_t {
    Outside,
    RingEdge,
    Ring,
    Inside,
    BladeLight,
    BladeDark,
    HubRim,
    Hub,
    HubCap,
    Count
};
using FanColours = std::array<std::uint8_t, static_cast<std::size_t>(FanPart::Count)>;

// Which part lies at (x, y), given relative to the centre in units of the fan's radius; the
// blades turned clockwise by angleDegrees.
FanPart fanPartAt(double x, double y, double angleDegrees);
// Fan of size x size pixels; each pixel takes the colour of the part covering most of it.
IndexedImage renderFan(int size, double angleDegrees, const FanColours& colours);
// Same sampling, giving the part of each pixel instead of a colour.
std::vector<FanPart> fanParts(int size, double angleDegrees);

} // namespace resgen::detail

// The frames of a silent AVI clip of 8-bit palette pictures, plain or run-length encoded
// (BI_RLE8), as the animation control shows them. Decoded once, so that playing the clip is only
// a copy of a finished frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ui {

struct AviClip {
    struct Colour {
        std::uint8_t r = 0, g = 0, b = 0;
    };
    int width = 0;
    int height = 0;
    std::uint32_t microSecPerFrame = 0;
    std::vector<Colour> palette; // 256 entries
    // Palette indexes, width * height per frame, rows from the top.
    std::vector<std::vector<std::uint8_t>> frames;
};

// Reads the first video stream of an AVI file. False when the bytes hold no such clip (other
// formats, a broken header, no frame); damaged frame data decodes as far as it goes.
bool ReadAviClip(const std::uint8_t* data, std::size_t size, AviClip& clip);

} // namespace ui

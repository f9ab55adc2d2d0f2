// Generators of ORLO.EXE's and SETUP.EXE's resources: digit bitmaps, fan animation, icon, page
// picture, alarm sound and the resource scripts that bind them. Standard library only, so it builds
// with any host compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace resgen {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A palette picture, rows from the top.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// --- Digit bitmaps (32 x 32, 16 colours) ---
enum class DigitColour { Red, Green };
constexpr int kDigitSize = 32;

// The sixteen standard VGA colours; they include every colour the digits and the icon use.
const std::vector<Rgb>& vgaPalette();
// Their indices, in the palette's order.
enum Vga : std::uint8_t {
    Black,
    Maroon,
    Green,
    Olive,
    Navy,
    Purple,
    Teal,
    Silver,
    Gray,
    Red,
    Lime,
    Yellow,
    Blue,
    Fuchsia,
    Aqua,
    White,
};
// Seven-segment picture of digit 0..9, as indices into vgaPalette().
IndexedImage drawDigit(int digit, DigitColour colour);
// Uncompressed 4-bit BMP file (BITMAPFILEHEADER, BITMAPINFOHEADER, 16 palette entries).
Bytes encodeBmp4(const IndexedImage& image, const std::vector<Rgb>& palette);

// --- Fan animation (65 x 65, 8-bit RLE, 15 frames per second) ---
constexpr int kFanSize = 65;
constexpr int kFanFrames = 6;
constexpr int kFanFramesPerSecond = 15;

// 256 entries; index 0 is the background.
std::vector<Rgb> fanPalette();
IndexedImage drawFanFrame(int frame);
// BI_RLE8 data of a bottom-up DIB: rows from the bottom, each ended by an end-of-line code,
// the last by the end-of-bitmap code.
Bytes encodeRle8(const IndexedImage& image);
// AVI of the six frames: one video stream, each frame an RLE8 key frame.
Bytes makeFanAvi();

// --- Program icon: 32 x 32 and 16 x 16, 16 colours ---
Bytes makeIcon();

// --- The hand-point cursor: 32 x 32, black and white, hot spot at the finger's tip ---
constexpr int kHandCursorSize = 32;
constexpr int kHandCursorHotSpotX = 5;
constexpr int kHandCursorHotSpotY = 0;
Bytes makeHandCursor();

// --- The installer's page picture: the fan on the button face, 50 x 44, 16 colours ---
constexpr int kSetupPictureWidth = 50;
constexpr int kSetupPictureHeight = 44;
IndexedImage drawSetupPicture();

// --- Alarm sound: about one second of a two-tone beep, 16-bit mono PCM ---
constexpr int kWarningSampleRate = 22050;
Bytes makeWarningWav();

// --- Everything, as named files ---
struct OutputFile {
    std::string name;
    Bytes data;
};
// The resource scripts of ORLO.EXE and SETUP.EXE; file names relative to the folder they are
// written into.
std::string makeResourceScript();
std::string makeSetupResourceScript();
// Every file, the script included, in the order they are written.
std::vector<OutputFile> allResources();
// Writes allResources() into folder (created if missing). Returns an error text, empty on success.
std::string writeResources(const std::string& folder);

} // namespace resgen

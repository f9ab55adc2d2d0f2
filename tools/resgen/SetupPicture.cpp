// The installer's page picture: the program's fan on the window colour, with a green arrow
// pointing down into it (something being installed).
#include "Drawing.h"

namespace resgen {

namespace {

enum Vga : std::uint8_t {
    Black = 0,
    Green = 2,
    Navy = 4,
    Silver = 7,
    Gray = 8,
    Lime = 10,
    Blue = 12,
    White = 15,
};

constexpr int kPictureFanSize = 40;

} // namespace

IndexedImage drawSetupPicture() {
    IndexedImage picture(kSetupPictureWidth, kSetupPictureHeight, Silver);
    detail::FanColours colours{};
    colours[static_cast<std::size_t>(detail::FanPart::Outside)] = Silver;
    colours[static_cast<std::size_t>(detail::FanPart::RingEdge)] = Black;
    colours[static_cast<std::size_t>(detail::FanPart::Ring)] = Gray;
    colours[static_cast<std::size_t>(detail::FanPart::Inside)] = White;
    colours[static_cast<std::size_t>(detail::FanPart::BladeLight)] = Blue;
    colours[static_cast<std::size_t>(detail::FanPart::BladeDark)] = Navy;
    colours[static_cast<std::size_t>(detail::FanPart::HubRim)] = Black;
    colours[static_cast<std::size_t>(detail::FanPart::Hub)] = Gray;
    colours[static_cast<std::size_t>(detail::FanPart::HubCap)] = White;
    const IndexedImage fan = detail::renderFan(kPictureFanSize, 10.0, colours);
    const int left = 0, top = kSetupPictureHeight - kPictureFanSize;
    for (int y = 0; y < kPictureFanSize; ++y)
        for (int x = 0; x < kPictureFanSize; ++x)
            picture.at(left + x, top + y) = fan.at(x, y);

    // The arrow: a shaft and a head in the top-right corner, outlined in dark green.
    const int centre = 42;
    for (int y = 1; y <= 10; ++y)
        for (int x = centre - 2; x <= centre + 2; ++x)
            picture.at(x, y) = x == centre - 2 || x == centre + 2 || y == 1 ? Green : Lime;
    for (int row = 0; row < 7; ++row) {
        const int y = 11 + row, half = 6 - row;
        for (int x = centre - half; x <= centre + half; ++x)
            picture.at(x, y) = x == centre - half || x == centre + half ? Green : Lime;
    }
    return picture;
}

} // namespace resgen

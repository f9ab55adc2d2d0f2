// The program icon: the fan of the animation on a transparent ground, in 16 colours.
#include "Drawing.h"

namespace resgen {

namespace {

struct IconImage {
    int size;
    Bytes data; // BITMAPINFOHEADER, palette, colour rows, mask rows
};

IconImage makeIconImage(int size) {
    using detail::FanPart;
    detail::FanColours colours{};
    colours[static_cast<std::size_t>(FanPart::Outside)] = Black; // masked out
    colours[static_cast<std::size_t>(FanPart::RingEdge)] = Black;
    colours[static_cast<std::size_t>(FanPart::Ring)] = Gray;
    colours[static_cast<std::size_t>(FanPart::Inside)] = Silver;
    colours[static_cast<std::size_t>(FanPart::BladeLight)] = Blue;
    colours[static_cast<std::size_t>(FanPart::BladeDark)] = Navy;
    colours[static_cast<std::size_t>(FanPart::HubRim)] = Black;
    colours[static_cast<std::size_t>(FanPart::Hub)] = Gray;
    colours[static_cast<std::size_t>(FanPart::HubCap)] = White;
    const double angle = 10.0;
    const IndexedImage picture = detail::renderFan(size, angle, colours);
    const std::vector<detail::FanPart> parts = detail::fanParts(size, angle);

    const Bytes rows = detail::packRows4(picture);
    const int maskStride = ((size + 31) / 32) * 4;
    Bytes mask(static_cast<std::size_t>(maskStride * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (parts[static_cast<std::size_t>(y * size + x)] == FanPart::Outside)
                mask[static_cast<std::size_t>((size - 1 - y) * maskStride + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));

    ByteWriter out;
    // An icon's header counts the colour and the mask rows together: twice the height.
    detail::writeInfoHeader(out, size, 2 * size, 4, 0,
                            static_cast<std::uint32_t>(rows.size() + mask.size()), 0);
    detail::writePalette(out, vgaPalette(), 16);
    out.bytes(rows);
    out.bytes(mask);
    return {size, out.data()};
}

} // namespace

Bytes makeIcon() {
    const IconImage images[] = {makeIconImage(32), makeIconImage(16)};
    const std::uint16_t count = 2;
    ByteWriter out;
    out.u16(0);
    out.u16(1); // icon
    out.u16(count);
    std::uint32_t offset = 6 + 16 * count;
    for (const IconImage& image : images) {
        out.u8(static_cast<std::uint8_t>(image.size));
        out.u8(static_cast<std::uint8_t>(image.size));
        out.u8(16); // colours
        out.u8(0);
        out.u16(1); // planes
        out.u16(4); // bits per pixel
        out.u32(static_cast<std::uint32_t>(image.data.size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        out.bytes(image.data);
    return out.data();
}

} // namespace resgen

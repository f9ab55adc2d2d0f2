// The spinning fan: its drawing, the RLE8 encoder and the AVI file.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Drawing.h"

namespace resgen {

namespace detail {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBlades = 4;
constexpr double kHubRadius = 0.26;
constexpr double kTipRadius = 0.82;
constexpr double kRingInner = 0.87;
constexpr double kRingEdge = 0.94;
constexpr int kSubsamples = 4; // per axis

// Angle in (-180, 180].
double wrapDegrees(double a) {
    a = std::fmod(a, 360.0);
    if (a <= -180.0) a += 360.0;
    if (a > 180.0) a -= 360.0;
    return a;
}

} // namespace

FanPart fanPartAt(double x, double y, double angleDegrees) {
    const double r = std::sqrt(x * x + y * y);
    if (r > 1.0) return FanPart::Outside;
    if (r > kRingEdge) return FanPart::RingEdge;
    if (r > kRingInner) return FanPart::Ring;
    if (r < 0.08) return FanPart::HubCap;
    if (r < 0.20) return FanPart::Hub;
    if (r < kHubRadius) return FanPart::HubRim;
    if (r > kTipRadius) return FanPart::Inside;
    // Screen y points down, so a growing angle turns clockwise. Each blade sweeps forward
    // towards its tip and widens; its leading half is lit, its trailing half in shadow.
    const double phi = std::atan2(y, x) * 180.0 / kPi;
    const double t = (r - kHubRadius) / (kTipRadius - kHubRadius);
    const double halfWidth = 10.0 + 15.0 * t;
    for (int k = 0; k < kBlades; ++k) {
        const double centre = angleDegrees + k * (360.0 / kBlades) + 28.0 * t;
        const double d = wrapDegrees(phi - centre);
        if (std::fabs(d) <= halfWidth) return d > 0 ? FanPart::BladeLight : FanPart::BladeDark;
    }
    return FanPart::Inside;
}

std::vector<FanPart> fanParts(int size, double angleDegrees) {
    std::vector<FanPart> parts(static_cast<std::size_t>(size * size));
    const double centre = size / 2.0;
    const double radius = size / 2.0 - 0.5;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            int votes[static_cast<int>(FanPart::Count)] = {};
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    double x = (px + (sx + 0.5) / kSubsamples - centre) / radius;
                    double y = (py + (sy + 0.5) / kSubsamples - centre) / radius;
                    ++votes[static_cast<int>(fanPartAt(x, y, angleDegrees))];
                }
            }
            int best = 0;
            for (int p = 1; p < static_cast<int>(FanPart::Count); ++p)
                if (votes[p] > votes[best]) best = p;
            parts[static_cast<std::size_t>(py * size + px)] = static_cast<FanPart>(best);
        }
    }
    return parts;
}

IndexedImage renderFan(int size, double angleDegrees, const FanColours& colours) {
    IndexedImage img(size, size);
    const std::vector<FanPart> parts = fanParts(size, angleDegrees);
    for (std::size_t i = 0; i < parts.size(); ++i)
        img.pixels[i] = colours[static_cast<std::size_t>(parts[i])];
    return img;
}

} // namespace detail

std::vector<Rgb> fanPalette() {
    std::vector<Rgb> palette(256, Rgb{0, 0, 0});
    const Rgb used[] = {
        {192, 192, 192}, // 0 background (the transparent colour of the control)
        {64, 64, 64},    // 1 ring edge
        {128, 128, 128}, // 2 ring
        {80, 140, 210},  // 3 blade, lit half
        {30, 70, 150},   // 4 blade, shadow half
        {48, 48, 48},    // 5 hub rim
        {150, 150, 150}, // 6 hub
        {230, 230, 230}, // 7 hub cap
    };
    std::copy(std::begin(used), std::end(used), palette.begin());
    return palette;
}

IndexedImage drawFanFrame(int frame) {
    if (frame < 0 || frame >= kFanFrames) throw std::invalid_argument("frame out of range");
    using detail::FanPart;
    detail::FanColours colours{};
    colours[static_cast<std::size_t>(FanPart::Outside)] = 0;
    colours[static_cast<std::size_t>(FanPart::RingEdge)] = 1;
    colours[static_cast<std::size_t>(FanPart::Ring)] = 2;
    colours[static_cast<std::size_t>(FanPart::Inside)] = 0;
    colours[static_cast<std::size_t>(FanPart::BladeLight)] = 3;
    colours[static_cast<std::size_t>(FanPart::BladeDark)] = 4;
    colours[static_cast<std::size_t>(FanPart::HubRim)] = 5;
    colours[static_cast<std::size_t>(FanPart::Hub)] = 6;
    colours[static_cast<std::size_t>(FanPart::HubCap)] = 7;
    // Four blades repeat every 90 degrees: six steps of 15 degrees loop without a jump.
    return detail::renderFan(kFanSize, frame * 90.0 / kFanFrames, colours);
}

Bytes encodeRle8(const IndexedImage& image) {
    Bytes out;
    auto runAt = [&](const std::uint8_t* row, int x) {
        int n = 1;
        while (x + n < image.width && n < 255 && row[x + n] == row[x])
            ++n;
        return n;
    };
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = &image.pixels[static_cast<std::size_t>(y * image.width)];
        int x = 0;
        while (x < image.width) {
            int run = runAt(row, x);
            if (run >= 3) {
                out.push_back(static_cast<std::uint8_t>(run));
                out.push_back(row[x]);
                x += run;
                continue;
            }
            // Pixels that start no run of three go out literally.
            int end = x;
            while (end < image.width && end - x < 255 && runAt(row, end) < 3)
                ++end;
            const int count = end - x;
            if (count >= 3) {
                out.push_back(0);
                out.push_back(static_cast<std::uint8_t>(count));
                out.insert(out.end(), row + x, row + end);
                if (count % 2 != 0) out.push_back(0); // literal runs end on a word boundary
            } else {
                // Codes 0 1 and 0 2 are escapes, so one or two pixels become runs of one.
                for (int i = x; i < end; ++i) {
                    out.push_back(1);
                    out.push_back(row[i]);
                }
            }
            x = end;
        }
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0); // end of bitmap after the top row, else end of line
    }
    return out;
}

Bytes makeFanAvi() {
    std::vector<Bytes> frames;
    std::uint32_t largest = 0;
    for (int f = 0; f < kFanFrames; ++f) {
        frames.push_back(encodeRle8(drawFanFrame(f)));
        largest = std::max(largest, static_cast<std::uint32_t>(frames.back().size()));
    }
    const std::uint32_t bufferSize = (largest + 8 + 1) & ~1u; // one chunk with its header
    const std::uint32_t stride = ((kFanSize * 8 + 31) / 32) * 4;
    const std::uint32_t microSecPerFrame =
        (1000000 + kFanFramesPerSecond / 2) / kFanFramesPerSecond;

    ByteWriter out;
    const std::size_t riff = out.beginList("RIFF", "AVI ");
    const std::size_t hdrl = out.beginList("LIST", "hdrl");

    const std::size_t avih = out.beginChunk("avih");
    out.u32(microSecPerFrame);
    out.u32(bufferSize * kFanFramesPerSecond); // max bytes per second
    out.u32(0);                                // padding granularity
    out.u32(0x10);                             // AVIF_HASINDEX
    out.u32(kFanFrames);
    out.u32(0); // initial frames
    out.u32(1); // streams
    out.u32(bufferSize);
    out.u32(kFanSize);
    out.u32(kFanSize);
    out.zeros(16);
    out.endChunk(avih);

    const std::size_t strl = out.beginList("LIST", "strl");
    const std::size_t strh = out.beginChunk("strh");
    out.fourcc("vids");
    out.fourcc("mrle");
    out.u32(0); // flags
    out.u16(0); // priority
    out.u16(0); // language
    out.u32(0); // initial frames
    out.u32(1); // scale
    out.u32(kFanFramesPerSecond);
    out.u32(0); // start
    out.u32(kFanFrames);
    out.u32(bufferSize);
    out.u32(0xFFFFFFFFu); // default quality
    out.u32(0);           // sample size: frames vary in size
    out.i16(0);
    out.i16(0);
    out.i16(kFanSize);
    out.i16(kFanSize);
    out.endChunk(strh);

    const std::size_t strf = out.beginChunk("strf");
    detail::writeInfoHeader(out, kFanSize, kFanSize, 8, 1 /* BI_RLE8 */, stride * kFanSize, 256);
    detail::writePalette(out, fanPalette(), 256);
    out.endChunk(strf);
    out.endChunk(strl);
    out.endChunk(hdrl);

    const std::size_t movi = out.beginList("LIST", "movi");
    const std::size_t moviType = movi + 4; // index offsets count from the 'movi' code
    std::vector<std::uint32_t> offsets;
    for (const Bytes& frame : frames) {
        offsets.push_back(static_cast<std::uint32_t>(out.size() - moviType));
        const std::size_t chunk = out.beginChunk("00dc");
        out.bytes(frame);
        out.endChunk(chunk);
    }
    out.endChunk(movi);

    const std::size_t idx1 = out.beginChunk("idx1");
    for (std::size_t f = 0; f < frames.size(); ++f) {
        out.fourcc("00dc");
        out.u32(0x10); // AVIIF_KEYFRAME
        out.u32(offsets[f]);
        out.u32(static_cast<std::uint32_t>(frames[f].size()));
    }
    out.endChunk(idx1);
    out.endChunk(riff);
    return out.data();
}

} // namespace resgen

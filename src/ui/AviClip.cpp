#include "ui/AviClip.h"

#include <algorithm>
#include <cstring>

namespace ui {

namespace {

constexpr std::uint32_t kPlain = 0; // BI_RGB
constexpr std::uint32_t kRle8 = 1;  // BI_RLE8
constexpr int kLargestSide = 1024;  // an animation control's clip is small

std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
bool Is(const std::uint8_t* p, const char* fourcc) {
    return std::memcmp(p, fourcc, 4) == 0;
}

// Bottom-up BI_RLE8 data onto `pixels` (rows from the top). Pixels the codes skip keep what the
// previous frame left; codes past the picture's edge are dropped.
void DecodeRle8(const std::uint8_t* p, std::size_t n, int width, int height,
                std::vector<std::uint8_t>& pixels) {
    int x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x >= width) return;
        pixels[static_cast<std::size_t>((height - 1 - y) * width + x)] = index;
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < n && y < height) {
        std::uint8_t count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(value);
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // move right and up
            if (i + 1 >= n) return;
            x = std::min(x + p[i], width);
            y += p[i + 1];
            i += 2;
        } else { // `value` pixels as they stand, padded to a whole word
            for (int k = 0; k < value && i < n; ++k)
                put(p[i++]);
            if (value % 2 != 0) ++i;
        }
    }
}

// Rows of `stride` bytes, from the bottom unless the height is negative.
void DecodePlain(const std::uint8_t* p, std::size_t n, int width, int height, bool topDown,
                 std::vector<std::uint8_t>& pixels) {
    std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    for (int row = 0; row < height; ++row) {
        std::size_t start = static_cast<std::size_t>(row) * stride;
        if (start >= n) return;
        std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(width), n - start);
        int target = topDown ? row : height - 1 - row;
        std::copy(p + start, p + start + count,
                  pixels.begin() + static_cast<std::ptrdiff_t>(target) * width);
    }
}

class Reader {
  public:
    explicit Reader(AviClip& clip) : clip_(clip) {}

    // The chunks of one list level; lists are entered.
    void Walk(const std::uint8_t* p, std::size_t n) {
        while (n >= 8) {
            const std::uint8_t* id = p;
            // A chunk cut short by the end of the data keeps what there is.
            std::size_t size = std::min<std::size_t>(U32(p + 4), n - 8);
            const std::uint8_t* body = p + 8;
            if (Is(id, "LIST") || Is(id, "RIFF")) {
                if (size >= 4) {
                    if (Is(body, "strl")) ++stream_;
                    Walk(body + 4, size - 4);
                }
            } else {
                Chunk(id, body, size);
            }
            std::size_t step = 8 + size + (size % 2);
            if (step >= n) break;
            p += step;
            n -= step;
        }
    }

    bool Done() const { return format_ && !clip_.frames.empty(); }

  private:
    void Chunk(const std::uint8_t* id, const std::uint8_t* body, std::size_t size) {
        if (Is(id, "avih") && size >= 4) {
            clip_.microSecPerFrame = U32(body);
        } else if (Is(id, "strh") && size >= 4 && Is(body, "vids") && videoStream_ < 0) {
            videoStream_ = stream_;
        } else if (Is(id, "strf") && stream_ == videoStream_ && !format_) {
            Format(body, size);
        } else if (format_ && IsFrame(id)) {
            Frame(body, size);
        }
    }

    // BITMAPINFOHEADER and its palette.
    void Format(const std::uint8_t* p, std::size_t n) {
        if (n < 40) return;
        std::uint32_t headerSize = U32(p);
        auto width = static_cast<std::int32_t>(U32(p + 4));
        auto height = static_cast<std::int32_t>(U32(p + 8));
        std::uint16_t bits = U16(p + 14);
        compression_ = U32(p + 16);
        std::uint32_t colours = U32(p + 32);
        topDown_ = height < 0;
        height = topDown_ ? -height : height;
        if (bits != 8 || (compression_ != kPlain && compression_ != kRle8) ||
            (topDown_ && compression_ == kRle8) || width < 1 || width > kLargestSide ||
            height < 1 || height > kLargestSide || headerSize < 40 || headerSize > n)
            return;
        clip_.width = width;
        clip_.height = height;
        clip_.palette.assign(256, AviClip::Colour{});
        if (colours == 0 || colours > 256) colours = 256;
        for (std::uint32_t c = 0; c < colours && headerSize + 4 * (c + 1) <= n; ++c) {
            const std::uint8_t* quad = p + headerSize + 4 * c;
            clip_.palette[c] = AviClip::Colour{quad[2], quad[1], quad[0]};
        }
        format_ = true;
    }

    // "nndb" or "nndc" of the video stream nn.
    bool IsFrame(const std::uint8_t* id) const {
        if (videoStream_ < 0 || videoStream_ > 99) return false;
        char stream[3] = {static_cast<char>('0' + videoStream_ / 10),
                          static_cast<char>('0' + videoStream_ % 10), 0};
        return id[0] == stream[0] && id[1] == stream[1] && id[2] == 'd' &&
               (id[3] == 'b' || id[3] == 'c');
    }

    // Each frame is drawn over the one before it: an empty chunk repeats it.
    void Frame(const std::uint8_t* p, std::size_t n) {
        std::vector<std::uint8_t> pixels =
            clip_.frames.empty()
                ? std::vector<std::uint8_t>(static_cast<std::size_t>(clip_.width) * clip_.height)
                : clip_.frames.back();
        if (compression_ == kRle8)
            DecodeRle8(p, n, clip_.width, clip_.height, pixels);
        else
            DecodePlain(p, n, clip_.width, clip_.height, topDown_, pixels);
        clip_.frames.push_back(std::move(pixels));
    }

    AviClip& clip_;
    int stream_ = -1;      // index of the stream list being read
    int videoStream_ = -1; // the first video stream
    bool format_ = false;
    std::uint32_t compression_ = kPlain;
    bool topDown_ = false;
};

} // namespace

bool ReadAviClip(const std::uint8_t* data, std::size_t size, AviClip& clip) {
    clip = AviClip{};
    if (!data || size < 12 || !Is(data, "RIFF") || !Is(data + 8, "AVI ")) return false;
    Reader reader(clip);
    reader.Walk(data, size);
    if (reader.Done()) return true;
    clip = AviClip{};
    return false;
}

} // namespace ui

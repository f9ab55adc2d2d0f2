// Little-endian byte buffer with the chunk helpers the RIFF files need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
  public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void fourcc(const char* code) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(code[i]));
    }
    void bytes(const Bytes& b) { data_.insert(data_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }

    void patchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    // RIFF chunk: four-character code, size, data, a pad byte to an even length.
    // beginChunk returns the position of the size field for endChunk.
    std::size_t beginChunk(const char* code) {
        fourcc(code);
        std::size_t sizeAt = data_.size();
        u32(0);
        return sizeAt;
    }
    void endChunk(std::size_t sizeAt) {
        patchU32(sizeAt, static_cast<std::uint32_t>(data_.size() - sizeAt - 4));
        if (data_.size() % 2 != 0) u8(0);
    }
    // RIFF or LIST chunk with its form type.
    std::size_t beginList(const char* code, const char* type) {
        std::size_t sizeAt = beginChunk(code);
        fourcc(type);
        return sizeAt;
    }

    std::size_t size() const { return data_.size(); }
    const Bytes& data() const { return data_; }

  private:
    Bytes data_;
};

} // namespace resgen

#pragma once
// A growing buffer of bytes that the simulator's binary files are built in.
// Every field goes in with an explicit width and little-endian order, so the
// file layout reads off the writer's code and no host padding or byte order
// can leak into a file.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tratta {

// Fields written into a stretch of bytes whose length is known beforehand (the
// line table: some 700000 fields), with no growth check per byte. A field that
// would pass the end of the stretch throws std::length_error.
class BlockWriter {
public:
    BlockWriter(uint8_t* begin, std::size_t size) : next_(begin), left_(size) {}

    void put_u16(uint16_t v) { put_le(v, 2); }
    void put_i16(int16_t v) { put_u16(static_cast<uint16_t>(v)); }
    void put_f64(double v)
    {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        put_le(u, 8);
    }
    std::size_t remaining() const { return left_; }

private:
    void put_le(uint64_t v, std::size_t width)
    {
        if (left_ < width)
            throw std::length_error("campo oltre la fine del blocco");
        for (std::size_t i = 0; i < width; ++i)
            next_[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFFu);
        next_ += width;
        left_ -= width;
    }

    uint8_t* next_;
    std::size_t left_;
};

class ByteBuffer {
public:
    void reserve(std::size_t n) { bytes_.reserve(n); }

    void put_u8(uint8_t v) { bytes_.push_back(v); }
    void put_u16(uint16_t v) { put_le(v, 2); }
    void put_i16(int16_t v) { put_u16(static_cast<uint16_t>(v)); }
    void put_i32(int32_t v) { put_le(static_cast<uint32_t>(v), 4); }
    void put_f64(double v)
    {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        put_le(u, 8);
    }
    // Adds a stretch of n bytes for the caller to fill; the writer is valid
    // until the buffer next grows.
    BlockWriter append_block(std::size_t n)
    {
        const std::size_t start = bytes_.size();
        bytes_.resize(start + n);
        return {bytes_.data() + start, n};
    }
    void put_bytes(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

private:
    // The low `width` bytes of v, lowest first, appended in one step: the line
    // table alone has some 700000 fields, so bytes are not pushed one by one.
    void put_le(uint64_t v, std::size_t width)
    {
        uint8_t field[8];
        for (std::size_t i = 0; i < width; ++i)
            field[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFFu);
        bytes_.insert(bytes_.end(), field, field + width);
    }

    std::vector<uint8_t> bytes_;
};

} // namespace tratta

#pragma once
// Reading back the simulator's binary files field by field, little-endian, the
// mirror of ByteBuffer. Every read checks that the bytes are there: a file cut
// short or of the wrong kind gives a LayoutError naming the offset, never a
// read past its end.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tratta {

// A binary file whose size or layout is not the one its writer makes.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool at_end() const { return pos_ == bytes_.size(); }

    uint8_t get_u8() { return static_cast<uint8_t>(take(1)[0]); }
    uint16_t get_u16()
    {
        const auto b = take(2);
        return static_cast<uint16_t>(byte(b, 0) | (byte(b, 1) << 8));
    }
    int16_t get_i16() { return static_cast<int16_t>(get_u16()); }
    int32_t get_i32()
    {
        const auto b = take(4);
        uint32_t u = 0;
        for (int i = 3; i >= 0; --i)
            u = (u << 8) | byte(b, static_cast<std::size_t>(i));
        return static_cast<int32_t>(u);
    }
    double get_f64()
    {
        const auto b = take(8);
        uint64_t u = 0;
        for (int i = 7; i >= 0; --i)
            u = (u << 8) | byte(b, static_cast<std::size_t>(i));
        double v = 0;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
    std::string get_bytes(std::size_t n) { return std::string(take(n)); }

    // A field of a table by its type, the mirror of ByteBuffer::put.
    void get(uint8_t& v) { v = get_u8(); }
    void get(int16_t& v) { v = get_i16(); }
    void get(int32_t& v) { v = get_i32(); }
    void get(std::string& text) { text = get_bytes(get_u16()); }

private:
    static uint32_t byte(std::string_view b, std::size_t i) { return static_cast<uint8_t>(b[i]); }

    std::string_view take(std::size_t n)
    {
        if (n > remaining())
            throw LayoutError("il file finisce al byte " + std::to_string(bytes_.size()) + ": servono " +
                              std::to_string(n) + " byte dal byte " + std::to_string(pos_));
        const auto part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

} // namespace tratta

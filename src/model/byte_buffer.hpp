#pragma once
// The bytes of the simulator's binary files, built in memory field by field.
// Every field goes in with an explicit width and little-endian order, so the
// file layout reads off the writer's code and no host padding or byte order
// can leak into a file.

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tratta {

// An allocator whose elements start out as whatever the memory held: a file
// image is sized once and every byte of it is then written, so filling it with
// zeros first would only cost time.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* p) noexcept
    {
        // A byte needs no construction: its lifetime begins with the
        // allocation, and the loop over the bytes then costs nothing.
        if constexpr (!std::is_trivially_default_constructible_v<U>)
            ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The whole content of one binary file.
using Bytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

inline std::string_view as_text(const Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The low `width` bytes of v, lowest first, at p.
inline void store_le(uint8_t* p, uint64_t v, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        p[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFFu);
}

inline uint64_t f64_bits(double v)
{
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

class ByteBuffer {
public:
    void reserve(std::size_t n) { bytes_.reserve(n); }

    void put_u8(uint8_t v) { bytes_.push_back(v); }
    void put_u16(uint16_t v) { put_le(v, 2); }
    void put_i16(int16_t v) { put_u16(static_cast<uint16_t>(v)); }
    void put_i32(int32_t v) { put_le(static_cast<uint32_t>(v), 4); }
    void put_f64(double v) { put_le(f64_bits(v), 8); }
    void put_bytes(std::string_view s)
    {
        const auto* first = reinterpret_cast<const uint8_t*>(s.data());
        bytes_.insert(bytes_.end(), first, first + s.size());
    }

    // A field of a table by its type: bytes, 16-bit and 32-bit whole numbers,
    // and a text as its 16-bit length followed by its bytes.
    void put(uint8_t v) { put_u8(v); }
    void put(int16_t v) { put_i16(v); }
    void put(int32_t v) { put_i32(v); }
    void put(const std::string& text); // throws std::length_error beyond 65535 bytes

    const Bytes& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    // The bytes built so far, handed over whole; the buffer is left empty.
    Bytes take() { return std::move(bytes_); }

private:
    void put_le(uint64_t v, std::size_t width)
    {
        uint8_t field[8];
        store_le(field, v, width);
        bytes_.insert(bytes_.end(), field, field + width);
    }

    Bytes bytes_;
};

inline void ByteBuffer::put(const std::string& text)
{
    if (text.size() > 0xFFFFu)
        throw std::length_error("testo di un record oltre 65535 byte");
    put_u16(static_cast<uint16_t>(text.size()));
    put_bytes(text);
}

} // namespace tratta

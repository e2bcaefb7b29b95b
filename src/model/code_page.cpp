#include "model/code_page.hpp"

#include <cstdint>

namespace tratta {

namespace {

// Unicode code points of the bytes 0x80-0x9F; 0 marks the five unassigned ones.
constexpr char32_t high_block[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t to_unicode(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0) {
        const char32_t u = high_block[b - 0x80];
        return u == 0 ? char32_t{0xFFFD} : u;
    }
    return b;
}

char from_unicode(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(static_cast<unsigned char>(u));
    for (unsigned i = 0; i < 32; ++i)
        if (high_block[i] != 0 && high_block[i] == u)
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
    return '?';
}

void append_utf8(std::string& out, char32_t u)
{
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

bool control(char32_t u) { return u < 0x20 || u == 0x7F; }

void append_visible_byte(std::string& out, unsigned char b)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    out += "\\x";
    out.push_back(hex[b >> 4]);
    out.push_back(hex[b & 0xF]);
}

} // namespace

std::size_t utf8_sequence_length(std::string_view s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    if (b < 0x80)
        return 1;
    std::size_t extra = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        if (b == 0xE0)
            low = 0xA0;
        if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        if (b == 0xF0)
            low = 0x90;
        if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - i <= extra)
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k <= extra; ++k)
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
    return extra + 1;
}

std::string cp1252_shown(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t u = to_unicode(b);
        if (control(u) || u == 0xFFFD)
            append_visible_byte(out, b);
        else
            append_utf8(out, u);
    }
    return out;
}

std::string utf8_shown(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = utf8_sequence_length(bytes, i);
        if (n == 0 || (n == 1 && control(static_cast<unsigned char>(bytes[i])))) {
            append_visible_byte(out, static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string utf8_to_cp1252(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    append_utf8_as_cp1252(out, s);
    return out;
}

void append_utf8_as_cp1252(std::string& out, std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        // Plain ASCII, nearly all of a document, is the same in both.
        std::size_t plain = i;
        while (plain < s.size() && static_cast<unsigned char>(s[plain]) < 0x80)
            ++plain;
        out.append(s.data() + i, plain - i);
        i = plain;
        if (i == s.size())
            break;
        // A byte that begins no well-formed sequence is one "?" of its own, so
        // that the editor's characters and these bytes stay one for one.
        const std::size_t n = utf8_sequence_length(s, i);
        if (n == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        auto u = static_cast<char32_t>(static_cast<unsigned char>(s[i]) & (0x7Fu >> n));
        for (std::size_t k = 1; k < n; ++k)
            u = (u << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
        out.push_back(from_unicode(u));
        i += n;
    }
}

std::string cp1252_to_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        append_utf8(out, to_unicode(static_cast<unsigned char>(c)));
    return out;
}

std::wstring cp1252_to_wide(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.push_back(static_cast<wchar_t>(to_unicode(static_cast<unsigned char>(c))));
    return out;
}

namespace {

constexpr unsigned char lower_of(unsigned char b)
{
    if (b >= 'A' && b <= 'Z')
        return static_cast<unsigned char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return static_cast<unsigned char>(b + 32);
    switch (b) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return b;
    }
}

constexpr std::array<unsigned char, 256> lower_case_table()
{
    std::array<unsigned char, 256> t{};
    for (unsigned b = 0; b < 256; ++b)
        t[b] = lower_of(static_cast<unsigned char>(b));
    return t;
}

} // namespace

constexpr std::array<unsigned char, 256> cp1252_lower_case = lower_case_table();

std::string lower_cp1252(std::string_view bytes)
{
    std::string out(bytes);
    for (char& c : out)
        c = lower_cp1252(c);
    return out;
}

} // namespace tratta

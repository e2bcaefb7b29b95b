#include "source/field_reader.hpp"

#include <limits>

namespace tratta {

FieldReader::FieldReader(std::string bytes) : bytes_(std::move(bytes)) {}

bool FieldReader::blank_at(std::size_t i) const
{
    return i < bytes_.size() && (bytes_[i] == ' ' || bytes_[i] == '\t');
}

bool FieldReader::line_end_at(std::size_t i) const
{
    return i < bytes_.size() && (bytes_[i] == '\r' || bytes_[i] == '\n');
}

void FieldReader::skip_blanks()
{
    while (blank_at(pos_))
        ++pos_;
}

void FieldReader::consume_line_end()
{
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') {
        ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
    } else if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
        ++pos_;
    }
    ++line_;
}

void FieldReader::require_byte() const
{
    if (at_end())
        throw ReadFailure("fine del file mentre si attende un campo");
}

std::string FieldReader::read_text()
{
    require_byte();
    skip_blanks();
    field_line_ = line_;
    std::string text;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
        ++pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != '"' && !line_end_at(pos_))
            text.push_back(bytes_[pos_++]);
        if (pos_ < bytes_.size() && bytes_[pos_] == '"')
            ++pos_;
        // Whatever follows the closing quote, up to the comma or line end, is dropped.
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !line_end_at(pos_))
            ++pos_;
    } else {
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !line_end_at(pos_))
            text.push_back(bytes_[pos_++]);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.pop_back();
    }
    if (pos_ < bytes_.size() && bytes_[pos_] == ',')
        ++pos_;
    else if (line_end_at(pos_))
        consume_line_end();
    return text;
}

int64_t FieldReader::read_number()
{
    require_byte();
    skip_blanks();
    field_line_ = line_;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !blank_at(pos_) && !line_end_at(pos_))
        ++pos_;
    const int64_t value = token_value(std::string_view(bytes_).substr(start, pos_ - start));
    skip_blanks();
    if (pos_ < bytes_.size() && bytes_[pos_] == ',')
        ++pos_;
    else if (line_end_at(pos_))
        consume_line_end();
    return value;
}

namespace {

template <typename T>
T fit(int64_t v)
{
    if (v < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
        v > static_cast<int64_t>(std::numeric_limits<T>::max()))
        throw ReadFailure("numero fuori dai limiti del campo");
    return static_cast<T>(v);
}

} // namespace

int32_t FieldReader::read_i32() { return fit<int32_t>(read_number()); }
int16_t FieldReader::read_i16() { return fit<int16_t>(read_number()); }
uint8_t FieldReader::read_u8() { return fit<uint8_t>(read_number()); }

int64_t token_value(std::string_view token)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    const auto digit = [&](std::size_t k) { return k < token.size() && token[k] >= '0' && token[k] <= '9'; };
    if (!digit(i))
        return 0;
    // Whole part, saturating far beyond any field's range.
    constexpr int64_t cap = int64_t{1} << 40;
    int64_t whole = 0;
    while (digit(i)) {
        if (whole < cap)
            whole = whole * 10 + (token[i] - '0');
        ++i;
    }
    // Fraction: compare its exact decimal value with one half.
    int cmp_half = -1; // below one half
    if (i < token.size() && token[i] == '.' && digit(i + 1)) {
        ++i;
        const int first = token[i] - '0';
        ++i;
        bool rest_nonzero = false;
        while (digit(i)) {
            if (token[i] != '0')
                rest_nonzero = true;
            ++i;
        }
        if (first > 5 || (first == 5 && rest_nonzero))
            cmp_half = 1;
        else if (first == 5)
            cmp_half = 0;
    }
    if (cmp_half > 0 || (cmp_half == 0 && whole % 2 == 1))
        ++whole;
    return negative ? -whole : whole;
}

} // namespace tratta

#pragma once
// Reading a source file field by field. Commas and line ends both end fields,
// so the readers never see whole lines: a line short of values takes them from
// the next line, and spare fields of a line are read later as keys.
//
// The file is Windows-1252 bytes. Blanks are space and tab; a line ends at
// CR LF, a lone LF or a lone CR.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tratta {

// Any failure of a read: no byte left when a field is due, or a number that
// does not fit its destination. The reader turns it into error 25.
class ReadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FieldReader {
public:
    explicit FieldReader(std::string bytes);

    // No byte is left after the current position.
    bool at_end() const { return pos_ >= bytes_.size(); }

    // A text field (keys, names, board texts): up to the next comma or line
    // end, trailing blanks removed; a field opened by a double quote runs to
    // the closing quote and the rest up to the comma or line end is dropped.
    std::string read_text();

    // Numeric fields into destinations of a fixed width; a value that does not
    // fit is a ReadFailure.
    int32_t read_i32();
    int16_t read_i16();
    uint8_t read_u8();

    // The value of the next numeric token, taken to the nearest whole number
    // (halves to even), before any width check. Huge tokens saturate.
    int64_t read_number();

    // 1-based source line where the last field read began.
    int32_t field_line() const { return field_line_; }

private:
    bool blank_at(std::size_t i) const;
    bool line_end_at(std::size_t i) const;
    void skip_blanks();
    void consume_line_end();
    void require_byte() const;

    std::string bytes_;
    std::size_t pos_ = 0;
    int32_t line_ = 1;
    int32_t field_line_ = 0;
};

// The value of a numeric token: its longest leading decimal number (optional
// sign, digits, optional "." and digits) to the nearest whole number, an exact
// half to the even neighbour; a token with no leading number gives 0.
int64_t token_value(std::string_view token);

} // namespace tratta

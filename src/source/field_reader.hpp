#pragma once
// Reading a source file field by field. Commas and line ends both end fields,
// so the readers never see whole lines: a line short of values takes them from
// the next line, and spare fields of a line are read later as keys.
//
// The file is Windows-1252 bytes. Blanks are space and tab; a line ends at
// CR LF, a lone LF or a lone CR.

#include "model/source_places.hpp"
#include "source/field_trace.hpp"
#include "source/key_fields.hpp"
#include "source/line_ends.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tratta {

// Any failure of a read: no byte left when a field is due, or a number that
// does not fit its destination. The reader turns it into error 25; the cause
// says which field and which limit, the place where it stands.
class ReadFailure : public std::runtime_error {
public:
    ReadFailure(const std::string& cause, const SourcePlace& place) : std::runtime_error(cause), place_(place) {}
    const SourcePlace& place() const { return place_; }

private:
    SourcePlace place_;
};

class FieldReader {
public:
    // The bytes stay with the caller for as long as the reader reads them.
    // `first_line` is the number of the line they begin with: one line of a
    // file, read on its own, keeps its place in the file.
    FieldReader(std::string_view bytes, SourceFile file, int32_t first_line = 1)
        : bytes_(bytes), file_(file), line_(first_line)
    {
    }

    // No byte is left after the current position.
    bool at_end() const { return pos_ >= bytes_.size(); }

    // A key: a text field that starts a new line kind; the value fields that
    // follow it are named by the key's list once `expect` has named it.
    std::string read_key();
    // The value fields that follow this key, in order.
    void expect(const KeySpec& key);

    // A text field (names, board texts): up to the next comma or line end,
    // trailing blanks removed; a field opened by a double quote runs to the
    // closing quote and the rest up to the comma or line end is dropped.
    std::string read_text();

    // Numeric fields into destinations of a fixed width; a value that does not
    // fit is a ReadFailure.
    int32_t read_i32() { return static_cast<int32_t>(read_fitting(FieldWidth::i32)); }
    int16_t read_i16() { return static_cast<int16_t>(read_fitting(FieldWidth::i16)); }
    uint8_t read_u8() { return static_cast<uint8_t>(read_fitting(FieldWidth::u8)); }

    // The next field as a field of this width is read, as written (a text
    // without its quotes, a number's token), with no check of its value:
    // what an editor shows of a line the compile may never have reached.
    std::string_view read_written(FieldWidth width);

    // The value of the next numeric token, taken to the nearest whole number
    // (halves to even), before any width check. Huge tokens saturate.
    int64_t read_number();

    // Where the last field read stands: its line and columns, and its bytes
    // (a quoted text with its quotes) from the first to the one after it.
    const SourcePlace& field_place() const { return field_; }
    std::size_t field_begin() const { return field_begin_; }
    std::size_t field_end() const { return field_end_; }
    // The token of the last numeric field, as written.
    std::string_view last_token() const { return token_; }

    // Every field read from now on joins the trace (none: nothing is kept),
    // but for an empty key: a blank line is no line kind.
    void trace_into(FieldTrace* trace) { trace_ = trace; }
    // The part of the file the fields read from now on stand in.
    void enter(TracePart part) { part_ = part; }

private:
    bool blank_at(std::size_t i) const;
    bool line_end_at(std::size_t i) const;
    void skip_blanks();
    void consume_line_end();
    void start_field(FieldWidth width);
    int64_t read_fitting(FieldWidth width);
    int64_t scan_number();
    std::string_view scan_text();
    std::string field_name() const;
    int32_t column_at(std::size_t i) const { return static_cast<int32_t>(i - line_start_) + 1; }

    std::string_view bytes_;
    SourceFile file_;
    std::size_t pos_ = 0;
    std::size_t line_start_ = 0;
    int32_t line_;
    SourcePlace field_;
    std::size_t field_begin_ = 0;
    std::size_t field_end_ = 0;
    std::string_view token_;
    const KeySpec* key_ = nullptr; // the key whose values are being read
    std::size_t next_value_ = 0;   // index in its field list of the next value
    void note(TracedField::Role role, std::string_view token, int64_t value);

    FieldTrace* trace_ = nullptr;
    TracePart part_ = TracePart::preamble;
    static constexpr std::size_t no_record = static_cast<std::size_t>(-1);
    std::size_t key_record_ = no_record; // the trace record of the last key read
};

// The value of a numeric token: its longest leading decimal number (optional
// sign, digits, optional "." and digits) to the nearest whole number, an exact
// half to the even neighbour; a token with no leading number gives 0.
int64_t token_value(std::string_view token);

} // namespace tratta

#pragma once
// Where something stands in the two source files, and one data error as the
// compile step recorded it.

#include <cstdint>
#include <string>
#include <string_view>

namespace tratta {

// Which source file a field was read from.
enum class SourceFile : uint8_t { none, line, train };

// A field of a source file: its line and the columns of its first byte and of
// the byte after it, 1-based and counted in bytes (the files are Windows-1252,
// a byte a character). Zero where unknown.
struct SourcePlace {
    SourceFile file = SourceFile::none;
    int32_t line = 0;
    int32_t column = 0;
    int32_t end_column = 0;

    bool known() const { return file != SourceFile::none && line > 0; }
    bool operator==(const SourcePlace&) const = default;
};

// One data error: its number and the chainage that went with it (the run's
// error_code and error_at_m right after it was recorded), the field or key
// that raised it and, for a failed read, what went wrong with that field.
struct DataError {
    int32_t code = 0;
    int32_t at_m = 0;
    SourcePlace place;
    std::string cause; // empty, or e.g. "il numero 70000 non sta in un campo a 16 bit (da -32768 a 32767)"
    int64_t cell = -1; // the cell of the route grid the error is about, when there is one

    std::string_view meaning() const; // the error number's one-line meaning
    bool operator==(const DataError&) const = default;
};

} // namespace tratta

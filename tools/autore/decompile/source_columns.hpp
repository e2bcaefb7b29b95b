#pragma once
// Lines of a line file or a train file as an author lays them out: one key
// per line, its numbers right-aligned in columns that line up within a
// section, a text (a name, a board's words) last and as it is.

#include <cstdint>
#include <string>
#include <vector>

namespace autore {

class SourceColumns {
public:
    // A line of the section: its key, its numbers and, when it has one, its text.
    void add(std::string key, const std::vector<int64_t>& numbers, std::string text = {}, bool has_text = false);
    // The same with the numbers as written; an empty one is an empty field.
    void add_fields(std::string key, std::vector<std::string> numbers);
    bool empty() const { return rows_.empty(); }
    // The section's header ("[curve]") and its lines, each ended by CR LF;
    // nothing when the section has no line.
    void write(std::string& out, const std::string& header) const;

private:
    struct Row {
        std::string key;
        std::vector<std::string> numbers;
        std::string text;
        bool has_text = false;
    };
    std::vector<Row> rows_;
};

// A text field as the reader gives it back: plain when it reads back as
// itself, else between double quotes. Nothing when no way of writing it reads
// back as these bytes (a line break, or quotes that a quoted field cannot hold).
bool text_field(const std::string& text, std::string& field);

} // namespace autore

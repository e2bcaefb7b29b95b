#include "source/field_reader.hpp"

#include "model/code_page.hpp"

namespace tratta {

bool FieldReader::blank_at(std::size_t i) const
{
    return i < bytes_.size() && (bytes_[i] == ' ' || bytes_[i] == '\t');
}

bool FieldReader::line_end_at(std::size_t i) const { return line_end_length(bytes_, i) != 0; }

void FieldReader::skip_blanks()
{
    while (blank_at(pos_))
        ++pos_;
}

void FieldReader::consume_line_end()
{
    pos_ += line_end_length(bytes_, pos_);
    ++line_;
    line_start_ = pos_;
}

std::string FieldReader::field_name() const
{
    if (key_ == nullptr || next_value_ >= key_->fields.size())
        return "un campo";
    return "il campo «" + std::string(key_->fields[next_value_].name) + "» di «" + std::string(key_->key) + "»";
}

// A field is due: there must be a byte left, and a key's value must be read
// into the width that the key's list gives it.
void FieldReader::start_field(FieldWidth width)
{
    // The file ends where a value is due: the line that is short of it is
    // the one of the last field read, right after that field.
    if (at_end()) {
        const SourcePlace after_last = field_.line > 0 ? SourcePlace{file_, field_.line, field_.end_column, field_.end_column}
                                                       : SourcePlace{file_, 1, 1, 1};
        throw ReadFailure("il file finisce mentre si attende " + field_name(), after_last);
    }
    if (key_ != nullptr && (next_value_ >= key_->fields.size() || key_->fields[next_value_].width != width))
        throw std::logic_error("campo letto fuori dall'elenco dei campi della sua chiave");
    skip_blanks();
    field_ = {file_, line_, column_at(pos_), column_at(pos_)};
    field_begin_ = field_end_ = pos_;
}

void FieldReader::note(TracedField::Role role, std::string_view token, int64_t value)
{
    if (trace_ == nullptr)
        return;
    TracedField f;
    f.role = role;
    f.part = part_;
    f.place = field_;
    f.token = token;
    f.value = value;
    f.key = key_;
    f.index = static_cast<uint8_t>(next_value_);
    trace_->fields.push_back(f);
}

std::string FieldReader::read_key()
{
    key_ = nullptr;
    next_value_ = 0;
    const std::string_view key = scan_text();
    // An empty line names no line kind and says nothing of the author's
    // meaning: it is not kept, so that a file of blank lines costs no memory
    // beyond its own bytes.
    key_record_ = no_record;
    if (trace_ != nullptr && !key.empty()) {
        note(TracedField::Role::key, key, 0);
        key_record_ = trace_->fields.size() - 1;
    }
    return std::string(key);
}

void FieldReader::expect(const KeySpec& key)
{
    key_ = &key;
    next_value_ = 0;
    if (trace_ != nullptr && key_record_ < trace_->fields.size()) {
        TracedField& k = trace_->fields[key_record_];
        k.key = &key;
        ++k.matches;
    }
}

std::string FieldReader::read_text()
{
    const std::string_view text = scan_text();
    note(TracedField::Role::text, text, 0);
    if (key_ != nullptr)
        ++next_value_;
    return std::string(text);
}

std::string_view FieldReader::scan_text()
{
    start_field(FieldWidth::text);
    std::string_view text;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
        const std::size_t start = ++pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != '"' && !line_end_at(pos_))
            ++pos_;
        text = bytes_.substr(start, pos_ - start);
        if (pos_ < bytes_.size() && bytes_[pos_] == '"')
            ++pos_;
        field_end_ = pos_;
        field_.end_column = column_at(pos_);
        // Whatever follows the closing quote, up to the comma or line end, is dropped.
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !line_end_at(pos_))
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !line_end_at(pos_))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && (bytes_[end - 1] == ' ' || bytes_[end - 1] == '\t'))
            --end;
        text = bytes_.substr(start, end - start);
        field_end_ = end;
        field_.end_column = column_at(end);
    }
    if (pos_ < bytes_.size() && bytes_[pos_] == ',')
        ++pos_;
    else if (line_end_at(pos_))
        consume_line_end();
    return text;
}

int64_t FieldReader::read_number()
{
    start_field(FieldWidth::i32);
    const int64_t v = scan_number();
    note(TracedField::Role::number, token_, v);
    if (key_ != nullptr)
        ++next_value_;
    return v;
}

int64_t FieldReader::scan_number()
{
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !blank_at(pos_) && !line_end_at(pos_))
        ++pos_;
    token_ = bytes_.substr(start, pos_ - start);
    field_end_ = pos_;
    field_.end_column = column_at(pos_);
    const int64_t value = token_value(token_);
    skip_blanks();
    if (pos_ < bytes_.size() && bytes_[pos_] == ',')
        ++pos_;
    else if (line_end_at(pos_))
        consume_line_end();
    return value;
}

std::string_view FieldReader::read_written(FieldWidth width)
{
    if (width == FieldWidth::text)
        return scan_text();
    start_field(width);
    scan_number();
    return token_;
}

int64_t FieldReader::read_fitting(FieldWidth width)
{
    start_field(width);
    const int64_t v = scan_number();
    note(TracedField::Role::number, token_, v);
    if (v < width_min(width) || v > width_max(width))
        throw ReadFailure("«" + cp1252_shown(token_) + "» per " + field_name() + " non sta in un " +
                              std::string(width_name(width)) + " (da " + std::to_string(width_min(width)) +
                              " a " + std::to_string(width_max(width)) + ")",
                          field_);
    if (key_ != nullptr)
        ++next_value_;
    return v;
}

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

#include "autore/lsp/field_at.hpp"

#include "autore/lsp/source_lines.hpp"
#include "source/field_reader.hpp"

namespace autore::lsp {

namespace {

using tratta::TracedField;

std::optional<FieldAt> traced_field(const Analysis& a, tratta::SourceFile file, int32_t line, int32_t column)
{
    const TracedField* found = nullptr;
    for (const TracedField& f : a.compiled().trace.fields) {
        if (f.place.file != file || f.place.line != line || f.part == tratta::TracePart::preamble)
            continue;
        if (column >= f.place.column && column < f.place.end_column) {
            found = &f;
            break;
        }
        if (column == f.place.end_column && f.place.end_column > f.place.column)
            found = &f; // the cursor right after the field
    }
    if (found == nullptr || found->key == nullptr)
        return std::nullopt;
    FieldAt at;
    at.key = found->key;
    at.index = found->role == TracedField::Role::key ? -1 : found->index;
    at.place = found->place;
    at.token = std::string(found->token);
    if (found->role == TracedField::Role::number)
        at.value = found->value;
    at.read = true;
    at.matches = found->matches;
    return at;
}

std::optional<FieldAt> written_field(std::string_view bytes, tratta::SourceFile file, int32_t line, int32_t column)
{
    const auto lines = scan_source(bytes, file);
    if (line < 1 || static_cast<std::size_t>(line) > lines.size())
        return std::nullopt;
    const SourceLine& l = lines[static_cast<std::size_t>(line - 1)];
    const int i = field_under(l, column);
    if (l.key == nullptr || i < 0)
        return std::nullopt;
    const LineField& f = l.fields[static_cast<std::size_t>(i)];
    FieldAt at;
    at.key = l.key;
    at.index = i - 1;
    at.place = {file, line, f.column, f.end_column};
    at.token = std::string(f.token);
    if (at.index >= 0 && l.key->fields[static_cast<std::size_t>(at.index)].width != tratta::FieldWidth::text)
        at.value = tratta::token_value(f.token);
    return at;
}

} // namespace

std::optional<FieldAt> field_at(const Analysis* a, std::string_view bytes, tratta::SourceFile file, int32_t line,
                                int32_t column)
{
    if (a != nullptr)
        if (auto at = traced_field(*a, file, line, column))
            return at;
    return written_field(bytes, file, line, column);
}

bool is_position(const tratta::FieldSpec& field)
{
    return field.unit == "m" && field.name != "lunghezza" && field.name != "scostamento";
}

} // namespace autore::lsp

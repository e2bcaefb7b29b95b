#include "source/line/general_section.hpp"

#include "source/keys.hpp"
#include "source/line/line_keys.hpp"

namespace tratta {

namespace {

constexpr int32_t longest_route_m = 1000000;
constexpr int comment_run_limit = 10;

// The next key of the general section. Comment fields give way to the field
// after them up to ten times in a row, with no end-of-file test in between:
// a run of comments that ends the file is a read past its end.
bool next_general_key(RunState& s, FieldReader& in)
{
    if (!read_key_before_end(s, in))
        return false;
    for (int n = 0; n < comment_run_limit && is_comment(s.work_text); ++n)
        read_key(s, in);
    return true;
}

bool has_both(std::string_view key, std::string_view a, std::string_view b)
{
    return contains_exact(key, a) && contains_exact(key, b);
}

// One chainage into its record, which remembers the line it came from.
void read_chainage(RunState& s, FieldReader& in, const KeySpec& key, int record)
{
    in.expect(key);
    ScenarioRecord& r = s.records[record];
    s.record_origins[static_cast<std::size_t>(record)] = s.key_place;
    r.start_m = in.read_i32();
    r.end_m = in.read_i32();
    r.at_m = in.read_i32();
}

// The section ends at a header: a field with both brackets that is not a
// comment left in place by a long run of them.
bool closes_section(std::string_view key)
{
    if (!contains_exact(key, "[") || !contains_exact(key, "]"))
        return false;
    const auto first = key.find_first_not_of(" \t");
    return first == std::string_view::npos || key[first] != '-';
}

// The route length sizes the grid (and the line table) anew.
bool read_route_length(RunState& s, FieldReader& in)
{
    in.expect(line_keys::route_length);
    const int32_t length = in.read_i32();
    s.records[ScenarioRecords::train_header].end_m = length;
    if (length < 0 || length > longest_route_m) {
        segnala(s, ErrorNumber::route_length, std::nullopt, in.field_place());
        return false;
    }
    s.cells.create(length);
    if (s.note_origins)
        s.cell_origins.assign(s.cells.cells().size(), SourcePlace{});
    if (s.j != 0)
        s.profile.create(s.cells.line_end_m(), s.keep_line_table);
    else
        s.profile.destroy();
    return true;
}

// The stretch equipped with signal repetition, and its code system.
bool read_signal_repetition(RunState& s, FieldReader& in)
{
    in.expect(line_keys::signal_repetition);
    ScenarioRecord& r = s.records[ScenarioRecords::run_header];
    r.start_m = in.read_i32();
    const SourcePlace start_place = in.field_place();
    r.end_m = in.read_i32();
    if (r.start_m % 50 != 0) {
        segnala(s, ErrorNumber::repetition_start, std::nullopt, start_place);
        return false;
    }
    if (r.end_m % 50 != 0) {
        segnala(s, ErrorNumber::repetition_end, std::nullopt, in.field_place());
        return false;
    }
    if (contains_nocase(s.work_text, "4")) {
        r.at_m = 4;
    } else if (contains_nocase(s.work_text, "9")) {
        r.at_m = 9;
    } else {
        segnala(s, ErrorNumber::repetition_codes);
        return false;
    }
    if (r.end_m == 0)
        r.at_m = 0;
    return true;
}

} // namespace

GeneralSection read_general_section(RunState& s, FieldReader& in)
{
    bool length_read = false;
    while (next_general_key(s, in)) {
        // Every test is made on the same key, one after the other.
        const std::string& key = s.work_text;
        if (contains_nocase(key, "lunghezza") && contains_nocase(key, "percorso")) {
            if (!read_route_length(s, in))
                return GeneralSection::refused;
            length_read = true;
        }
        if (has_both(key, "progressiva", "tre"))
            read_chainage(s, in, line_keys::chainage_tre, ScenarioRecords::chainage_last);
        if (has_both(key, "progressiva", "due"))
            read_chainage(s, in, line_keys::chainage_due, ScenarioRecords::chainage_middle);
        if (has_both(key, "progressiva", "uno"))
            read_chainage(s, in, line_keys::chainage_uno, ScenarioRecords::chainage_first);
        // The second background goes to at_m, the third to end_m.
        ScenarioRecord& backgrounds = s.records[ScenarioRecords::scenario_header];
        if (has_both(key, "sfondo", "uno")) {
            in.expect(line_keys::background_uno);
            backgrounds.start_m = in.read_i32();
        }
        if (has_both(key, "sfondo", "due")) {
            in.expect(line_keys::background_due);
            backgrounds.at_m = in.read_i32();
        }
        if (has_both(key, "sfondo", "tre")) {
            in.expect(line_keys::background_tre);
            backgrounds.end_m = in.read_i32();
        }
        if (has_both(key, "segnali", "ripetizione") && !read_signal_repetition(s, in))
            return GeneralSection::refused;
        if (closes_section(key))
            break;
    }
    return length_read ? GeneralSection::read : GeneralSection::no_length;
}

} // namespace tratta

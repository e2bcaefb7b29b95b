#include "source/line/general_section.hpp"

#include "source/keys.hpp"

namespace tratta {

namespace {

constexpr int32_t longest_route_m = 1000000;
constexpr int comment_run_limit = 10;

// The next key of the general section. Comment fields give way to the field
// after them up to ten times in a row, with no end-of-file test in between:
// a run of comments that ends the file is a read past its end.
bool next_general_key(RunState& s, FieldReader& in)
{
    if (!read_key_before_end(s, in, SourceFile::line))
        return false;
    for (int n = 0; n < comment_run_limit && is_comment(s.work_text); ++n)
        read_key(s, in, SourceFile::line);
    return true;
}

bool has_both(std::string_view key, std::string_view a, std::string_view b)
{
    return contains_exact(key, a) && contains_exact(key, b);
}

void read_chainage(FieldReader& in, ScenarioRecord& r)
{
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
    const int32_t length = in.read_i32();
    s.records[ScenarioRecords::train_header].end_m = length;
    if (length < 0 || length > longest_route_m) {
        segnala(s, 1);
        return false;
    }
    s.cells.create(length);
    if (s.j != 0)
        s.profile.create(s.cells.line_end_m());
    else
        s.profile.destroy();
    return true;
}

// The stretch equipped with signal repetition, and its code system.
bool read_signal_repetition(RunState& s, FieldReader& in)
{
    ScenarioRecord& r = s.records[ScenarioRecords::run_header];
    r.start_m = in.read_i32();
    r.end_m = in.read_i32();
    if (r.start_m % 50 != 0) {
        segnala(s, 3);
        return false;
    }
    if (r.end_m % 50 != 0) {
        segnala(s, 4);
        return false;
    }
    if (contains_nocase(s.work_text, "4")) {
        r.at_m = 4;
    } else if (contains_nocase(s.work_text, "9")) {
        r.at_m = 9;
    } else {
        segnala(s, 5);
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
            read_chainage(in, s.records[ScenarioRecords::chainage_last]);
        if (has_both(key, "progressiva", "due"))
            read_chainage(in, s.records[ScenarioRecords::chainage_middle]);
        if (has_both(key, "progressiva", "uno"))
            read_chainage(in, s.records[ScenarioRecords::chainage_first]);
        // The second background goes to at_m, the third to end_m.
        if (has_both(key, "sfondo", "uno"))
            s.records[ScenarioRecords::scenario_header].start_m = in.read_i32();
        if (has_both(key, "sfondo", "due"))
            s.records[ScenarioRecords::scenario_header].at_m = in.read_i32();
        if (has_both(key, "sfondo", "tre"))
            s.records[ScenarioRecords::scenario_header].end_m = in.read_i32();
        if (has_both(key, "segnali", "ripetizione") && !read_signal_repetition(s, in))
            return GeneralSection::refused;
        if (closes_section(key))
            break;
    }
    return length_read ? GeneralSection::read : GeneralSection::no_length;
}

} // namespace tratta

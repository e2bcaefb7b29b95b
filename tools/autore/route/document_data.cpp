#include "autore/route/document_data.hpp"

#include "source/field_reader.hpp"
#include "source/keys.hpp"

#include <algorithm>
#include <cctype>

namespace autore {

namespace {

using tratta::ScenarioRecords;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// Leading and trailing blanks dropped, inner runs of blanks made one.
std::string tidy(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (is_blank(c)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The groups of a board's text: what stands in each pair of brackets, and any
// text between them.
std::vector<std::string> board_groups(std::string_view text)
{
    std::vector<std::string> groups;
    std::string current;
    const auto close = [&] {
        if (std::string g = tidy(current); !g.empty())
            groups.push_back(std::move(g));
        current.clear();
    };
    for (const char c : text) {
        if (c == '(' || c == ')')
            close();
        else
            current += c;
    }
    close();
    return groups;
}

bool abbreviation(const std::string& group) { return group.back() == '.' && group.find(' ') == std::string::npos; }

} // namespace

TrainNumber train_number(std::string_view name)
{
    TrainNumber t;
    std::size_t i = 0;
    while (i < name.size() && is_letter(name[i]))
        t.category += name[i++];
    const auto digit = std::find_if(name.begin(), name.end(), is_digit);
    for (auto it = digit; it != name.end() && is_digit(*it); ++it)
        t.number += *it;
    return t;
}

std::string board_label(std::string_view text)
{
    std::string label;
    const auto groups = board_groups(text);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i > 0 && !(abbreviation(groups[i - 1]) && abbreviation(groups[i])))
            label += ' ';
        label += groups[i];
    }
    // A kilometre post reads "Km 28+000" on the board, "Km 28.000" on the sheet.
    for (std::size_t i = 1; i + 1 < label.size(); ++i)
        if (label[i] == '+' && is_digit(label[i - 1]) && is_digit(label[i + 1]))
            label[i] = '.';
    return label;
}

std::vector<int32_t> station_lines(std::string_view bytes, int station_count)
{
    std::vector<int32_t> lines;
    bool general_seen = false;
    int32_t number = 1;
    for (const tratta::LineSpan& span : tratta::line_spans(bytes)) {
        const std::string_view line = span.text_of(bytes);
        if (!general_seen) {
            general_seen = tratta::contains_nocase(line, "[generale]");
        } else {
            // The line's first field, as the compile's reader reads a key.
            tratta::FieldReader in(line, tratta::SourceFile::train, number);
            if (!in.at_end() && tratta::contains_nocase(in.read_written(tratta::FieldWidth::text), "stazione"))
                lines.push_back(number);
        }
        ++number;
    }
    if (static_cast<int>(lines.size()) != station_count)
        lines.clear();
    return lines;
}

DocumentData gather_documents(const ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                              int station_count, std::string_view train_bytes)
{
    DocumentData d;
    d.scenario = records[ScenarioRecords::scenario_header].text;
    d.train = records[ScenarioRecords::run_header].text;
    const TrainNumber number = train_number(d.train);
    d.category = number.category;
    d.number = number.number;
    const tratta::ScenarioRecord& head = records[ScenarioRecords::train_header];
    d.braked_mass_pct = head.start_m;
    d.coaches = head.at_m;
    d.route_length_m = head.end_m;
    d.chainages = chainages_of(records);

    station_count = std::clamp(station_count, 0, ScenarioRecords::first_board_slot);
    const auto lines = station_lines(train_bytes, station_count);
    for (int r = 1; r <= station_count; ++r) {
        const tratta::ScenarioRecord& s = records[r];
        TimedStation st;
        st.record = r;
        st.name = s.text;
        st.at_m = s.at_m;
        st.zone_start_m = s.start_m;
        st.zone_end_m = s.end_m;
        st.kind = s.kind;
        st.stop_flag = s.flag_e != 0;
        // A time of 0.00.00 cannot be told from no time at all.
        if (s.time_s != 0)
            st.time_s = s.time_s;
        if (!lines.empty())
            st.source_line = lines[static_cast<std::size_t>(r - 1)];
        d.stations.push_back(std::move(st));
    }

    for (std::size_t i = 0; i < cells.size(); ++i) {
        const tratta::RouteCell& c = cells[i];
        d.limit_kmh.push_back(c.speed5 * 5);
        if (c.kind != tratta::kind_sign_board || c.value < 1 || c.value > ScenarioRecords::first_board_slot)
            continue;
        // A board stands one cell beyond the cell of its position.
        std::string label = board_label(records[c.value].text);
        if (!label.empty())
            d.boards.push_back({(static_cast<int64_t>(i) - 1) * 50, std::move(label)});
    }
    d.slowdowns = slowdowns_of(cells);
    return d;
}

std::vector<LimitStretch> limits_along(const DocumentData& d, int64_t from_m, int64_t to_m)
{
    std::vector<LimitStretch> out;
    if (to_m <= from_m)
        return out;
    std::vector<int64_t> edges{from_m, to_m};
    for (int64_t m = (from_m / 50 + 1) * 50; m < to_m; m += 50)
        edges.push_back(m);
    for (const Slowdown& s : d.slowdowns)
        for (const int64_t m : {s.start_m, s.end_m})
            if (m > from_m && m < to_m)
                edges.push_back(m);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int64_t a = edges[i];
        const int64_t cell = std::max<int64_t>(a, 0) / 50;
        // Beyond the grid there is no track to run on.
        int kmh = cell < static_cast<int64_t>(d.limit_kmh.size()) ? d.limit_kmh[static_cast<std::size_t>(cell)] : 0;
        for (const Slowdown& s : d.slowdowns)
            if (s.start_m <= a && a < s.end_m)
                kmh = std::min(kmh, std::max(s.speed_kmh, 0));
        if (!out.empty() && out.back().kmh == kmh && out.back().to_m == a)
            out.back().to_m = edges[i + 1];
        else
            out.push_back({a, edges[i + 1], kmh});
    }
    return out;
}

} // namespace autore

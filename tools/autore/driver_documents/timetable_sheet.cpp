#include "autore/driver_documents/timetable_sheet.hpp"

#include "autore/driver_documents/form_line.hpp"
#include "autore/driver_documents/time_text.hpp"

#include <algorithm>
#include <map>
#include <optional>

namespace autore {

namespace {

constexpr std::size_t table_width = 83;
const std::vector<std::size_t> table_bars{2, 8, 14, 25, 31, 60, 77, 83};
const std::vector<std::size_t> header_bars{2, 22, 68, 83};
constexpr std::size_t body_rows = 31;

constexpr const char* class_box_top = "  ___________________                ___________________";
constexpr const char* class_box_title = " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ";
constexpr const char* class_box_bottom = " |___________________|              |___________________|";
constexpr const char* column_head_1 =
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |";
constexpr const char* column_head_2 =
    " | Lim.|Marc.|          |  Rs |                            |                |     |";

struct SheetRow {
    bool spacer = false;
    int64_t at_m = 0;
    std::optional<int> limit_kmh;
    std::optional<int64_t> km_m;
    bool change = false;     // the kilometre count changes here: "/" after the old count
    bool pair_start = false; // the row below gives the new count: the two stay on one sheet
    bool station = false;
    bool departure = false; // the origin: its time stands further right
    std::string place;
    std::string time;
    std::string recovery;
};

SheetRow spacer_row()
{
    SheetRow row;
    row.spacer = true;
    return row;
}

std::string table_line(const SheetRow& row, char fill)
{
    std::string line = ruled_line(table_width, table_bars, fill);
    if (row.spacer)
        return line;
    if (row.limit_kmh)
        put_right(line, 3, 6, std::to_string(*row.limit_kmh));
    if (row.km_m)
        put_right(line, 15, 23, km_text(*row.km_m));
    if (row.change)
        line[23] = '/';
    put_left(line, 32, 59, row.place, Overflow::cut);
    // The origin's departure stands further right, from position 70, where it fits there.
    const std::size_t time_from = row.departure && row.time.size() <= 7 ? 70 : 66;
    put_left(line, time_from, 76, row.time);
    put_left(line, 79, 82, row.recovery);
    return line;
}

std::string head_rule() { return ruled_line(table_width, table_bars, '_'); }

struct RowsOfRun {
    std::vector<SheetRow> body;
    std::optional<SheetRow> destination;
    std::vector<LimitStretch> limits;
};

SheetRow station_row(const TimedStation& s, const StationPlan& p)
{
    SheetRow row;
    row.at_m = s.at_m;
    row.station = true;
    row.place = s.name;
    if (p.time_s)
        row.time = clock_text(*p.time_s);
    if (p.margin_s)
        row.recovery = recovery_text(*p.margin_s);
    return row;
}

SheetRow place_row(int64_t at_m, std::string place)
{
    SheetRow row;
    row.at_m = at_m;
    row.place = std::move(place);
    return row;
}

// What stands at one place, in the order the sheet lists it: stations, then
// the slowdowns' starts and ends, then the sign boards.
struct Event {
    int64_t at_m = 0;
    int rank = 0;
    SheetRow row;
};

class RowBuilder {
public:
    RowBuilder(const DocumentData& d, const TimetablePlan& p) : d_(d), p_(p) {}

    RowsOfRun build()
    {
        RowsOfRun out;
        std::vector<std::size_t> run;
        for (std::size_t i = 0; i < p_.stations.size(); ++i)
            if (p_.stations[i].in_run)
                run.push_back(i);
        if (run.empty())
            return out;
        from_ = d_.stations[run.front()].at_m;
        to_ = d_.stations[run.back()].at_m;
        out.limits = limits_along(d_, from_, to_);

        std::vector<Event> events = gather(run.back());
        std::map<int64_t, int> limit_changes;
        for (const LimitStretch& l : out.limits)
            limit_changes[l.from_m] = l.kmh;
        std::map<int64_t, std::pair<int64_t, int64_t>> count_changes; // place: old and new count
        for (const Chainage& c : d_.chainages) {
            if (c.start_m <= from_ || c.start_m >= to_)
                continue;
            const int64_t before = km_by(chainage_in_force(d_.chainages, c.start_m - 1), c.start_m);
            const int64_t after = official_km_m(d_.chainages, c.start_m);
            if (before != after)
                count_changes[c.start_m] = {before, after};
        }

        std::vector<int64_t> places;
        for (const Event& e : events)
            places.push_back(e.at_m);
        for (const auto& [m, kmh] : limit_changes)
            places.push_back(m);
        for (const auto& [m, counts] : count_changes)
            places.push_back(m);
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());

        auto next = events.begin();
        for (const int64_t m : places) {
            std::vector<SheetRow> here;
            const int64_t km = official_km_m(d_.chainages, m);
            auto first = next;
            while (next != events.end() && next->at_m == m)
                ++next;
            if (const auto change = count_changes.find(m); change != count_changes.end()) {
                SheetRow announce = first != next && first->row.station ? (first++)->row : place_row(m, {});
                announce.km_m = change->second.first;
                announce.change = true;
                announce.pair_start = true;
                here.push_back(announce);
                SheetRow after;
                after.at_m = m;
                after.km_m = change->second.second;
                here.push_back(after);
            }
            for (auto e = first; e != next; ++e) {
                here.push_back(e->row);
                here.back().km_m = km;
            }
            if (const auto limit = limit_changes.find(m); limit != limit_changes.end()) {
                if (here.empty()) {
                    here.push_back(place_row(m, {}));
                    here.back().km_m = km;
                }
                here.front().limit_kmh = limit->second;
            }
            for (SheetRow& row : here) {
                if (row.station && !out.body.empty())
                    out.body.push_back(spacer_row());
                out.body.push_back(std::move(row));
            }
        }
        if (!out.body.empty() && out.body.front().station)
            out.body.front().departure = true;

        SheetRow last = station_row(d_.stations[run.back()], p_.stations[run.back()]);
        last.km_m = official_km_m(d_.chainages, to_);
        if (!out.body.empty())
            out.body.push_back(spacer_row());
        out.destination = last;
        return out;
    }

private:
    bool on_run(int64_t m) const { return m >= from_ && m <= to_; }

    std::vector<Event> gather(std::size_t destination) const
    {
        std::vector<Event> events;
        for (std::size_t i = 0; i < d_.stations.size(); ++i)
            if (i != destination && on_run(d_.stations[i].at_m))
                events.push_back({d_.stations[i].at_m, 0, station_row(d_.stations[i], p_.stations[i])});
        for (std::size_t n = 0; n < d_.slowdowns.size(); ++n) {
            const Slowdown& s = d_.slowdowns[n];
            const std::string number = " N. " + std::to_string(n + 1);
            if (on_run(s.start_m))
                events.push_back({s.start_m, 1, place_row(s.start_m, "Inizio rallentamento" + number)});
            if (on_run(s.end_m))
                events.push_back({s.end_m, 1, place_row(s.end_m, "Fine rallentamento" + number)});
        }
        for (const PlaceBoard& b : d_.boards)
            if (on_run(b.at_m))
                events.push_back({b.at_m, 2, place_row(b.at_m, b.label)});
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.at_m != b.at_m ? a.at_m < b.at_m : a.rank < b.rank;
        });
        return events;
    }

    const DocumentData& d_;
    const TimetablePlan& p_;
    int64_t from_ = 0;
    int64_t to_ = 0;
};

// The body rows cut into sheets of 31: no sheet begins with a spacer, and a
// change of count stays on one sheet with the new count under it.
std::vector<std::vector<SheetRow>> paginate(const std::vector<SheetRow>& body)
{
    std::vector<std::vector<SheetRow>> sheets;
    std::vector<SheetRow> current;
    const auto add = [&](SheetRow row) {
        current.push_back(std::move(row));
        if (current.size() == body_rows) {
            sheets.push_back(std::move(current));
            current.clear();
        }
    };
    for (const SheetRow& row : body) {
        if (row.spacer && current.empty())
            continue;
        if (row.pair_start && current.size() + 1 == body_rows)
            add(spacer_row());
        add(row);
    }
    if (!current.empty() || sheets.empty()) {
        while (!current.empty() && current.size() < body_rows)
            current.push_back(spacer_row());
        if (current.empty())
            current.assign(body_rows, spacer_row());
        sheets.push_back(std::move(current));
    }
    return sheets;
}

int limit_in_force(const std::vector<LimitStretch>& limits, int64_t m)
{
    int kmh = 0;
    for (const LimitStretch& l : limits)
        if (l.from_m <= m)
            kmh = l.kmh;
    return kmh;
}

std::vector<std::string> header(const DocumentData& d, const std::string& origin, const std::string& destination,
                                std::size_t k, std::size_t n)
{
    std::vector<std::string> h;
    h.push_back("  " + std::string(19, '_') + std::string(47, ' ') + std::string(14, '_'));

    std::string label = ruled_line(table_width, header_bars);
    put_left(label, 43, 67, "SCHEDA " + std::to_string(k) + "/" + std::to_string(n), Overflow::cut);
    h.push_back(label);

    std::string train = ruled_line(table_width, header_bars);
    put_left(train, 6, 15, "TRENO n.");
    put_left(train, 16, 21, d.number, Overflow::cut);
    put_left(train, 42, 45, "da:");
    put_left(train, 46, 67, origin, Overflow::cut);
    h.push_back(train);

    std::string to = ruled_line(table_width, header_bars);
    to.replace(2, 19, 19, '_');
    put_left(to, 43, 45, "a:");
    put_left(to, 46, 67, destination, Overflow::cut);
    if (d.braked_mass_pct > 0)
        put_centred(to, 69, 82, std::to_string(d.braked_mass_pct) + "%");
    h.push_back(to);

    std::string rank_bottom = ruled_line(table_width, {68, 83});
    rank_bottom.replace(68, 14, 14, '_');
    h.push_back(rank_bottom);

    h.emplace_back(class_box_top);
    h.emplace_back(class_box_title);
    // The blocked mass is not in the sources: its box stays empty.
    std::string values = ruled_line(57, {2, 22, 37, 57});
    put_left(values, 11, 21, d.category, Overflow::cut);
    h.push_back(values);
    h.emplace_back(class_box_bottom);
    h.emplace_back();
    h.push_back("  " + std::string(80, '_'));
    h.emplace_back(column_head_1);
    h.emplace_back(column_head_2);
    h.push_back(head_rule());
    return h;
}

} // namespace

std::vector<std::string> timetable_sheet_lines(const DocumentData& d, const TimetablePlan& plan)
{
    RowsOfRun rows = RowBuilder(d, plan).build();
    auto sheets = paginate(rows.body);
    // Each sheet after the first opens with the speed in force.
    for (std::size_t k = 1; k < sheets.size(); ++k) {
        SheetRow& top = sheets[k].front();
        if (!top.spacer && !top.limit_kmh)
            top.limit_kmh = limit_in_force(rows.limits, top.at_m);
    }

    std::string origin;
    std::string destination;
    for (std::size_t i = 0; i < plan.stations.size(); ++i) {
        if (!plan.stations[i].in_run)
            continue;
        if (origin.empty())
            origin = d.stations[i].name;
        destination = d.stations[i].name;
    }

    std::vector<std::string> lines{"", ""};
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        if (k > 0) {
            lines.emplace_back();
            lines.emplace_back(72, '.');
            lines.emplace_back();
        }
        for (auto& line : header(d, origin, destination, k + 1, sheets.size()))
            lines.push_back(std::move(line));
        for (const SheetRow& row : sheets[k])
            lines.push_back(table_line(row, ' '));
        // The last place closes the last sheet, drawn with underscores.
        const bool last = k + 1 == sheets.size();
        lines.push_back(last && rows.destination ? table_line(*rows.destination, '_') : head_rule());
    }
    lines.emplace_back();
    return lines;
}

} // namespace autore

#include "autore/driver_documents/slowdown_order.hpp"

#include "autore/driver_documents/form_line.hpp"

#include <algorithm>

namespace autore {

namespace {

constexpr std::size_t table_width = 82;
const std::vector<std::size_t> table_bars{2, 6, 35, 48, 59, 69, 82};
constexpr std::size_t form_rows = 26;
// The warning board of a slowdown stands this far before its start.
constexpr int64_t warning_distance_m = 1200;

constexpr const char* order_head[] = {
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
};
constexpr const char* prescriptions[] = {
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamento N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// The kilometre post a train passes last before the slowdown begins: the whole
// kilometre at or below the count where it rises along the route, at or above
// it where it falls.
int64_t post_before(const std::vector<Chainage>& chainages, int64_t route_m)
{
    const Chainage* c = chainage_in_force(chainages, route_m);
    const int64_t km = km_by(c, route_m);
    const bool falling = c != nullptr && c->direction == 1;
    return (floor_div(km, 1000) + (falling && km % 1000 != 0 ? 1 : 0)) * 1000;
}

struct Stations {
    const DocumentData& d;
    std::vector<std::size_t> run;

    std::string place_of(const Slowdown& s) const
    {
        for (const std::size_t i : run) {
            const TimedStation& st = d.stations[i];
            if (s.start_m >= st.zone_start_m && s.end_m <= st.zone_end_m)
                return st.name;
        }
        const TimedStation* before = nullptr;
        const TimedStation* after = nullptr;
        for (const std::size_t i : run) {
            const TimedStation& st = d.stations[i];
            if (st.at_m <= s.start_m)
                before = &st;
            if (st.at_m >= s.end_m && after == nullptr)
                after = &st;
        }
        if (before != nullptr && after != nullptr)
            return before->name + " e " + after->name;
        return before != nullptr ? before->name : after != nullptr ? after->name : std::string{};
    }

    bool reaches_a_station(const Slowdown& s) const
    {
        return std::any_of(run.begin(), run.end(), [&](std::size_t i) {
            return s.start_m < d.stations[i].zone_end_m && s.end_m > d.stations[i].zone_start_m;
        });
    }
};

// Slowdowns so close that the next one's warning stands before the end of the one before.
std::vector<bool> contiguous(const std::vector<Slowdown>& slowdowns)
{
    std::vector<bool> out(slowdowns.size(), false);
    for (std::size_t i = 0; i < slowdowns.size(); ++i)
        for (std::size_t j = 0; j < slowdowns.size(); ++j)
            if (i != j && slowdowns[j].start_m >= slowdowns[i].start_m &&
                slowdowns[j].start_m - warning_distance_m < slowdowns[i].end_m)
                out[i] = out[j] = true;
    return out;
}

} // namespace

std::string short_station_name(const std::string& name)
{
    std::string out = name;
    const std::string word = "Centrale";
    for (std::size_t at = out.find(word); at != std::string::npos; at = out.find(word, at)) {
        const bool starts = at == 0 || out[at - 1] == ' ';
        const bool ends = at + word.size() == out.size() || out[at + word.size()] == ' ';
        if (starts && ends)
            out.replace(at, word.size(), "C.le");
        at += 1;
    }
    return out;
}

std::vector<std::string> slowdown_order_lines(const DocumentData& d, const TimetablePlan& plan)
{
    Stations stations{d, {}};
    for (std::size_t i = 0; i < plan.stations.size(); ++i)
        if (plan.stations[i].in_run)
            stations.run.push_back(i);

    std::vector<std::string> lines;
    lines.emplace_back();
    lines.push_back(std::string(31, ' ') + "Modulo M. 3");
    lines.push_back(std::string(27, ' ') + "ORDINE DI RALLENTAMENTO");
    lines.push_back(" " + std::string(80, '_'));
    std::string line_name;
    if (!stations.run.empty())
        line_name = short_station_name(d.stations[stations.run.front()].name) + "-" +
                    short_station_name(d.stations[stations.run.back()].name);
    lines.push_back("  Linea  " + line_name);
    lines.emplace_back();
    lines.push_back("  Si ordina al macchinista del treno " + d.category + d.number +
                    " di effettuare i seguenti rallentamenti");
    lines.push_back("  " + std::string(79, '_'));
    for (const char* head : order_head)
        lines.emplace_back(head);
    const std::string rule = ruled_line(table_width, table_bars, '_');
    lines.push_back(rule);

    const auto close = contiguous(d.slowdowns);
    for (std::size_t n = 0; n < d.slowdowns.size(); ++n) {
        const Slowdown& s = d.slowdowns[n];
        std::string row = ruled_line(table_width, table_bars);
        put_left(row, 4, 5, std::to_string(n + 1));
        put_left(row, 7, 34, stations.place_of(s), Overflow::cut);
        put_right(row, 36, 44, std::to_string(post_before(d.chainages, s.start_m)));
        put_right(row, 49, 54, std::to_string(s.speed_kmh));
        put_right(row, 60, 65, std::to_string(s.end_m - s.start_m));
        put_left(row, 75, 75, close[n] ? "D" : stations.reaches_a_station(s) ? "B" : "");
        lines.push_back(row);
    }
    for (std::size_t n = d.slowdowns.size(); n < form_rows; ++n)
        lines.push_back(ruled_line(table_width, table_bars));
    lines.push_back(rule);
    lines.emplace_back();
    lines.push_back(std::string(14, ' ') + "Prescrizioni specifiche");
    for (const char* p : prescriptions)
        lines.emplace_back(p);
    return lines;
}

} // namespace autore

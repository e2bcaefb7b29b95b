#include "autore/diff/railway_changes.hpp"

#include "autore/route/official_km.hpp"
#include "autore/route/table_fields.hpp"
#include "model/code_page.hpp"
#include "source/train/train_keys.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace autore {

namespace {

using tratta::RouteCell;
using tratta::ScenarioRecord;
using tratta::ScenarioRecords;

std::string utf8(const std::string& cp1252) { return tratta::cp1252_to_utf8(cp1252); }

std::string clock_text(int64_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld.%02lld.%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

class Changes {
public:
    Changes(const RailwaySide& a, const RailwaySide& b)
    {
        if (b.records)
            chainages_ = chainages_of(*b.records);
        else if (a.records)
            chainages_ = chainages_of(*a.records);
    }

    void header(const std::string& text) { out_.push_back({std::nullopt, std::nullopt, "intestazione", "cambiato", text}); }
    void at(int64_t m, const std::string& what, const std::string& change, const std::string& text)
    {
        out_.push_back({m, official_km_m(chainages_, m), what, change, text});
    }
    std::string place(int64_t m) const
    {
        return std::to_string(m) + " m (km " + km_text(official_km_m(chainages_, m)) + ")";
    }
    std::vector<RailwayChange> take()
    {
        std::stable_sort(out_.begin(), out_.end(), [](const RailwayChange& x, const RailwayChange& y) {
            return x.at_m.value_or(-1) < y.at_m.value_or(-1);
        });
        return std::move(out_);
    }

private:
    std::vector<Chainage> chainages_;
    std::vector<RailwayChange> out_;
};

// ---- header values ----

void header_changes(const ScenarioRecords& a, const ScenarioRecords& b, Changes& out)
{
    const auto number = [&](const char* name, int64_t x, int64_t y, const char* unit = "") {
        if (x != y)
            out.header(std::string(name) + ": " + std::to_string(x) + unit + " → " + std::to_string(y) + unit);
    };
    const auto& ta = a[ScenarioRecords::train_header];
    const auto& tb = b[ScenarioRecords::train_header];
    number("lunghezza del percorso", ta.end_m, tb.end_m, " m");
    number("numero delle vetture", ta.at_m, tb.at_m);
    number("percentuale di massa frenata", ta.start_m, tb.start_m, " %");
    const auto chain_text = [](const ScenarioRecords& r) {
        std::string text;
        for (const auto& c : chainages_of(r))
            text += (text.empty() ? "" : "; ") + std::string("da ") + std::to_string(c.start_m) + " m, " +
                    std::to_string(c.offset_m) + (c.direction == 1 ? " decrescente" : "");
        return text.empty() ? std::string("nessuna") : text;
    };
    if (chain_text(a) != chain_text(b))
        out.header("progressive chilometriche: " + chain_text(a) + " → " + chain_text(b));
    const auto& sa = a[ScenarioRecords::scenario_header];
    const auto& sb = b[ScenarioRecords::scenario_header];
    number("sfondo uno", sa.start_m, sb.start_m);
    number("sfondo due", sa.at_m, sb.at_m);
    number("sfondo tre", sa.end_m, sb.end_m);
    if (sa.text != sb.text)
        out.header("nome dello scenario: «" + utf8(sa.text) + "» → «" + utf8(sb.text) + "»");
    const auto& ra = a[ScenarioRecords::run_header];
    const auto& rb = b[ScenarioRecords::run_header];
    if (ra.start_m != rb.start_m || ra.end_m != rb.end_m || ra.at_m != rb.at_m)
        out.header("ripetizione dei segnali: da " + std::to_string(ra.start_m) + " a " + std::to_string(ra.end_m) +
                   " m, " + std::to_string(ra.at_m) + " codici → da " + std::to_string(rb.start_m) + " a " +
                   std::to_string(rb.end_m) + " m, " + std::to_string(rb.at_m) + " codici");
    if (ra.text != rb.text)
        out.header("nome del treno: «" + utf8(ra.text) + "» → «" + utf8(rb.text) + "»");
    number("scorta di sabbia", ra.int_a, rb.int_a);
    const auto clock = [](const ScenarioRecord& r) {
        return std::to_string(r.int_c) + "." + std::to_string(r.int_d) + "." + std::to_string(r.int_e);
    };
    if (clock(ra) != clock(rb))
        out.header("ora di partenza: " + clock(ra) + " → " + clock(rb));
}

// ---- stations ----

// A station's record holds numbers; a sign board's text record only its text.
bool is_station(const ScenarioRecord& r)
{
    ScenarioRecord numbers = r;
    numbers.text.clear();
    return numbers != ScenarioRecord{};
}

std::vector<const ScenarioRecord*> stations(const ScenarioRecords& r)
{
    std::vector<const ScenarioRecord*> list;
    for (int i = 1; i <= ScenarioRecords::first_board_slot && is_station(r[i]); ++i)
        list.push_back(&r[i]);
    return list;
}

// A field of a station's record by the name of the station line's field
// that fills it ("primo indicatore" for flag_a); the record's own name where
// no field of the line does.
std::string source_name(std::string_view record_field)
{
    for (const auto& f : tratta::train_keys::station.fields) {
        const std::string_view becomes = f.becomes;
        const std::string_view head = ".sim: ";
        if (!becomes.starts_with(head))
            continue;
        const auto rest = becomes.substr(head.size());
        if (rest.starts_with(record_field) &&
            (rest.size() == record_field.size() || rest[record_field.size()] == ';'))
            return std::string(f.name);
    }
    return std::string(record_field);
}

// What else of a station changed: its zone about its position, its kind, flags and values.
std::string station_fields(const ScenarioRecord& a, const ScenarioRecord& b)
{
    std::string text;
    const auto field = [&](const char* name, int64_t x, int64_t y) {
        // A name may hold a comma ("primo gruppo, valore 1"): the values follow a colon, the fields a semicolon.
        if (x != y)
            text += std::string(text.empty() ? "" : "; ") + name + ": " + std::to_string(x) + " → " + std::to_string(y);
    };
    field("tipo", a.kind, b.kind);
    field("inizio della zona (rispetto alla stazione)", a.start_m - a.at_m, b.start_m - b.at_m);
    field("fine della zona (rispetto alla stazione)", a.end_m - a.at_m, b.end_m - b.at_m);
    const auto fa = record_fields(a);
    const auto fb = record_fields(b);
    for (std::size_t i = 0; i < fa.size(); ++i) {
        const std::string_view n = fa[i].name;
        if (n != "kind" && n != "start_m" && n != "end_m" && n != "at_m" && n != "time_s")
            field(source_name(n).c_str(), fa[i].value, fb[i].value);
    }
    return text;
}

void station_changes(const ScenarioRecords& a, const ScenarioRecords& b, Changes& out)
{
    std::multimap<std::string, const ScenarioRecord*> before;
    for (const auto* s : stations(a))
        before.emplace(s->text, s);
    for (const auto* s : stations(b)) {
        const std::string name = "stazione «" + utf8(s->text) + "»";
        auto it = before.find(s->text);
        if (it == before.end()) {
            out.at(s->at_m, "stazione", "aggiunto", name + " aggiunta a " + out.place(s->at_m));
            continue;
        }
        const ScenarioRecord& old = *it->second;
        before.erase(it);
        if (old.at_m != s->at_m)
            out.at(s->at_m, "stazione", "spostato",
                   name + " spostata da " + out.place(old.at_m) + " a " + out.place(s->at_m));
        if (old.time_s != s->time_s)
            out.at(s->at_m, "stazione", "orario",
                   name + ": orario " + clock_text(old.time_s) + " → " + clock_text(s->time_s));
        if (const auto fields = station_fields(old, *s); !fields.empty())
            out.at(s->at_m, "stazione", "cambiato", name + ": " + fields);
    }
    for (const auto& [text, s] : before)
        out.at(s->at_m, "stazione", "tolto", "stazione «" + utf8(text) + "» tolta da " + out.place(s->at_m));
}

// ---- objects in the grid ----

bool shown_object(uint8_t kind)
{
    return kind != tratta::kind_none && kind != tratta::kind_station_stop && kind != tratta::kind_mountain_marker;
}

// Where the author placed the object of cell c: 50 m before the cell for
// most, at the cell for code points and warning boards.
int64_t object_at_m(const RouteCell& c, int64_t cell)
{
    const bool at_cell = c.kind == tratta::kind_code_point || c.kind == tratta::kind_code_point_plain ||
                         c.kind == tratta::kind_slowdown_marker;
    return at_cell ? cell * 50 : (cell - 1) * 50;
}

// The values of an object in the words of its source line: a signal's four
// values and its extra one, a slowdown's speeds, a speed board's speeds in
// pairs (the first of a pair in steps of 20, a fifth of the second on top:
// "85/85 km/h", or "90 km/h" with no second) and its types, a code point's
// code, a warning board's number.
struct ValueWord {
    int field; // 0 value, 1 value2, 2 value3, 3 value4, 4 aux
    const char* name;
    const char* unit;
    bool speed_board = false;
};

std::vector<ValueWord> value_words(uint8_t kind)
{
    switch (kind) {
    case tratta::kind_signal:
        return {{0, "primo valore", ""}, {1, "secondo valore", ""}, {2, "terzo valore", ""},
                {3, "quarto valore", ""}, {4, "valore aggiuntivo", ""}};
    case tratta::kind_slowdown_start:
    case tratta::kind_slowdown_end:
        return {{0, "velocità", " km/h"}, {1, "seconda velocità", " km/h"}, {2, "quarto valore", ""}};
    case tratta::kind_slowdown_warning:
        return {{0, "velocità", " km/h"}, {1, "seconda velocità", " km/h"}};
    case tratta::kind_speed_indicator:
        return {{0, "velocità 1 e 4", " km/h", true}, {1, "velocità 2 e 5", " km/h", true},
                {2, "velocità 3 e 6", " km/h", true}, {3, "tipi", ""}};
    case tratta::kind_code_point:
        return {{0, "codice", ""}};
    case tratta::kind_slowdown_marker:
        return {{0, "tabella", ""}};
    default:
        return {{0, "valore", ""}, {1, "valore 2", ""}, {2, "valore 3", ""}, {3, "valore 4", ""}, {4, "aux", ""}};
    }
}

int64_t field_of(const RouteCell& c, int field)
{
    switch (field) {
    case 0: return c.value;
    case 1: return c.value2;
    case 2: return c.value3;
    case 3: return c.value4;
    default: return c.aux;
    }
}

std::string value_text(const ValueWord& w, int64_t v)
{
    if (!w.speed_board || v % 20 == 0)
        return std::to_string(w.speed_board ? v / 20 : v) + w.unit;
    const int64_t whole = v >= 0 ? v / 20 : -((-v + 19) / 20);
    return std::to_string(whole) + "/" + std::to_string((v - whole * 20) * 5) + w.unit;
}

std::string board_text(const RouteCell& c, const std::optional<ScenarioRecords>& records)
{
    if (records && c.value >= 1 && c.value <= ScenarioRecords::first_board_slot)
        return "«" + utf8((*records)[c.value].text) + "»";
    return "testo del record " + std::to_string(c.value);
}

// An object as it stands: its values that are not 0.
std::string object_values(const RouteCell& c, const std::optional<ScenarioRecords>& records)
{
    if (c.kind == tratta::kind_sign_board)
        return board_text(c, records);
    std::string text;
    for (const auto& w : value_words(c.kind))
        if (const int64_t v = field_of(c, w.field); v != 0)
            text += (text.empty() ? "" : ", ") + std::string(w.name) + " " + value_text(w, v);
    return text;
}

// What changed of an object of the same kind: only the values that differ.
std::string value_changes(const RouteCell& x, const std::optional<ScenarioRecords>& rx, const RouteCell& y,
                          const std::optional<ScenarioRecords>& ry)
{
    if (x.kind == tratta::kind_sign_board)
        return board_text(x, rx) + " → " + board_text(y, ry);
    std::string text;
    for (const auto& w : value_words(x.kind)) {
        const int64_t a = field_of(x, w.field);
        const int64_t b = field_of(y, w.field);
        if (a != b)
            text += (text.empty() ? "" : ", ") + std::string(w.name) + " " + value_text(w, a) + " → " +
                    value_text(w, b);
    }
    return text;
}

void object_changes(const std::vector<RouteCell>& ca, const RailwaySide& a, const std::vector<RouteCell>& cb,
                    const RailwaySide& b, Changes& out)
{
    const std::size_t n = std::max(ca.size(), cb.size());
    for (std::size_t i = 2; i < n; ++i) {
        const RouteCell none{};
        const RouteCell& x = i < ca.size() ? ca[i] : none;
        const RouteCell& y = i < cb.size() ? cb[i] : none;
        const bool sx = shown_object(x.kind);
        const bool sy = shown_object(y.kind);
        const auto cell = static_cast<int64_t>(i);
        const std::string vx = sx ? object_values(x, a.records) : "";
        const std::string vy = sy ? object_values(y, b.records) : "";
        if (sx && sy && x.kind == y.kind) {
            if (vx != vy)
                out.at(object_at_m(y, cell), std::string(kind_name(y.kind)), "cambiato",
                       std::string(kind_name(y.kind)) + " a " + out.place(object_at_m(y, cell)) + ": " +
                           value_changes(x, a.records, y, b.records));
            continue;
        }
        const auto values = [](const std::string& v) { return v.empty() ? std::string() : " (" + v + ")"; };
        if (sx)
            out.at(object_at_m(x, cell), std::string(kind_name(x.kind)), "tolto",
                   std::string(kind_name(x.kind)) + " tolto da " + out.place(object_at_m(x, cell)) + values(vx));
        if (sy)
            out.at(object_at_m(y, cell), std::string(kind_name(y.kind)), "aggiunto",
                   std::string(kind_name(y.kind)) + " aggiunto a " + out.place(object_at_m(y, cell)) + values(vy));
    }
}

// ---- profiles ----

template <class Value>
void profile_changes(const std::vector<RouteCell>& ca, const std::vector<RouteCell>& cb, const char* what,
                     const char* unit, Value value, Changes& out)
{
    const std::size_t n = std::min(ca.size(), cb.size());
    std::size_t i = 0;
    while (i < n) {
        const int64_t x = value(ca[i]);
        const int64_t y = value(cb[i]);
        std::size_t end = i;
        while (end + 1 < n && value(ca[end + 1]) == x && value(cb[end + 1]) == y)
            ++end;
        if (x != y) {
            const auto from = static_cast<int64_t>(i) * 50;
            const auto to = static_cast<int64_t>(end + 1) * 50;
            out.at(from, what, "cambiato",
                   std::string(what) + " da " + out.place(from) + " a " + out.place(to) + ": " + std::to_string(x) +
                       unit + " → " + std::to_string(y) + unit);
        }
        i = end + 1;
    }
}

// ---- the plan of the track ----

void plan_changes(const tratta::DecodedLineProfile& a, const tratta::DecodedLineProfile& b, Changes& out)
{
    // A departure under a millimetre is the arithmetic's, not the track's.
    constexpr double apart_m = 0.001;
    const int64_t last = std::min(a.last_m(), b.last_m()) - 2;
    int64_t from = -1;
    double widest = 0;
    const auto close = [&](int64_t to) {
        char gap[32];
        std::snprintf(gap, sizeof gap, "%.1f", widest);
        out.at(from, "pianta", "cambiato",
               "pianta del binario da " + out.place(from) + " a " + out.place(to) + ": si scosta fino a " + gap + " m");
        from = -1;
        widest = 0;
    };
    for (int64_t m = 0; m <= last; ++m) {
        const double d = std::hypot(a.get(m, 0) - b.get(m, 0), a.get(m, 1) - b.get(m, 1));
        if (d > apart_m) {
            if (from < 0)
                from = m;
            widest = std::max(widest, d);
        } else if (from >= 0) {
            close(m - 1);
        }
    }
    if (from >= 0)
        close(last);
}

// The stamp and check code of cell 1 belong to the compile, not to the railway.
std::vector<RouteCell> without_stamps(std::vector<RouteCell> cells)
{
    if (cells.size() > 1) {
        cells[1].value = 0;
        cells[1].value2 = 0;
    }
    return cells;
}

} // namespace

std::vector<RailwayChange> railway_changes(const RailwaySide& a, const RailwaySide& b)
{
    Changes out(a, b);
    if (a.records && b.records) {
        header_changes(*a.records, *b.records, out);
        station_changes(*a.records, *b.records, out);
    }
    if (a.cells && b.cells) {
        const auto x = without_stamps(*a.cells);
        const auto y = without_stamps(*b.cells);
        object_changes(x, a, y, b, out);
        profile_changes(x, y, "limite di velocità", " km/h",
                        [](const RouteCell& c) { return int64_t{c.speed5} * 5; }, out);
        profile_changes(x, y, "aderenza", "", [](const RouteCell& c) { return int64_t{c.adhesion}; },
                        out);
        profile_changes(x, y, "pendenza", " ‰",
                        [](const RouteCell& c) { return int64_t{c.gradient} - 100; }, out);
        profile_changes(x, y, "lato della montagna", "",
                        [](const RouteCell& c) { return int64_t{c.side}; }, out);
    }
    if (a.plan && b.plan)
        plan_changes(*a.plan, *b.plan, out);
    return out.take();
}

} // namespace autore

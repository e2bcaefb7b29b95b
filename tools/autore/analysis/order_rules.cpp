// Lines of one kind along the route: each kind stands in ascending order of
// position, curves and mountains do not overlap, stations stand on the route.
#include "autore/analysis/rules.hpp"

#include "model/code_page.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <map>
#include <string>

namespace autore {

namespace {

using tratta::KeySpec;
using tratta::SourcePlace;
using tratta::TracedField;
using tratta::TracedFields;
namespace lk = tratta::line_keys;
namespace tk = tratta::train_keys;

// One line of a kind, as its first fields give it.
struct PlacedLine {
    SourcePlace at;       // the position field
    int64_t from_m = 0;   // its position
    int64_t to_m = 0;     // the end it gives (curves: start + length; mountains: end), else its position
    std::string name;     // a station's name
};

// The positioned lines of each kind, in file order.
std::map<const KeySpec*, std::vector<PlacedLine>> placed_lines(const TracedFields& fields)
{
    std::map<const KeySpec*, std::vector<PlacedLine>> lines;
    for (const TracedField& f : fields) {
        if (f.key == nullptr || f.role == TracedField::Role::key)
            continue;
        const KeySpec* k = f.key;
        if (k->fields.empty() || k->fields[0].unit != "m")
            continue;
        auto& of_kind = lines[k];
        if (f.index == 0) {
            of_kind.push_back({f.place, f.value, f.value, {}});
        } else if (!of_kind.empty()) {
            if (k == &lk::curve && f.index == 1)
                of_kind.back().to_m = of_kind.back().from_m + f.value;
            if (k == &lk::mountain && f.index == 1)
                of_kind.back().to_m = f.value;
            if (k == &tk::station && f.role == TracedField::Role::text)
                of_kind.back().name = tratta::cp1252_shown(f.token);
        }
    }
    return lines;
}

std::string metres(int64_t m) { return std::to_string(m) + " m"; }

class OrderRules {
public:
    OrderRules(const tratta::CompileResult& c, std::vector<Diagnostic>& out) : c_(c), out_(out) {}

    void run()
    {
        const auto lines = placed_lines(c_.trace.fields);
        for (const auto& [key, of_kind] : lines) {
            if (key == &lk::curve)
                curves(of_kind);
            else if (key == &lk::mountain)
                mountains(of_kind);
            else
                ascending(*key, of_kind);
        }
        if (const auto it = lines.find(&tk::station); it != lines.end())
            stations_on_the_route(it->second);
    }

private:
    void warn(const SourcePlace& at, int64_t at_m, const char* code, std::string message, const PlacedLine* other = nullptr,
              std::string other_message = {})
    {
        Diagnostic d = warning_at(at, code, std::move(message));
        d.at_m = at_m;
        if (other != nullptr)
            d.related.push_back({other->at, std::move(other_message)});
        out_.push_back(std::move(d));
    }

    // Profiles and objects are laid in file order: a line behind the one before
    // it fills at most one cell (a profile) or stands out of the order the
    // simulator meets it in.
    void ascending(const KeySpec& key, const std::vector<PlacedLine>& lines)
    {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const PlacedLine& previous = lines[i - 1];
            const PlacedLine& line = lines[i];
            if (line.from_m >= previous.from_m)
                continue;
            const bool profile = &key == &lk::gradient || &key == &tk::speed_limit || &key == &tk::adhesion;
            warn(line.at, line.from_m, "fuori-ordine",
                 "«" + std::string(key.key) + "» a " + metres(line.from_m) + " dopo una a " + metres(previous.from_m) +
                     ": le righe vanno in ordine di posizione" +
                     (profile ? "; questa riempie solo la cella sotto il cursore" : ""),
                 &previous, "la riga precedente, a " + metres(previous.from_m));
        }
    }

    // The plan is walked once from the origin: a curve that starts behind the
    // end of the one before it turns only from there, or not at all.
    void curves(const std::vector<PlacedLine>& lines)
    {
        const PlacedLine* furthest = nullptr;
        for (const PlacedLine& line : lines) {
            if (furthest != nullptr && line.from_m < furthest->to_m) {
                if (line.to_m <= furthest->to_m)
                    warn(line.at, line.from_m, "curva-senza-effetto",
                         "la curva da " + metres(line.from_m) + " a " + metres(line.to_m) + " finisce prima della fine di una curva precedente (" +
                             metres(furthest->to_m) + "): la pianta è già tracciata fin là e non cambia",
                         furthest, "la curva che arriva a " + metres(furthest->to_m));
                else
                    warn(line.at, line.from_m, "curve-sovrapposte",
                         "la curva comincia a " + metres(line.from_m) + ", prima della fine di una curva precedente (" +
                             metres(furthest->to_m) + "): gira solo da lì",
                         furthest, "la curva che arriva a " + metres(furthest->to_m));
            }
            if (furthest == nullptr || line.to_m > furthest->to_m)
                furthest = &line;
        }
    }

    // A mountain that begins at most 150 m after the previous one's end takes
    // side code 3 whatever its own.
    void mountains(const std::vector<PlacedLine>& lines)
    {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const PlacedLine& previous = lines[i - 1];
            const PlacedLine& line = lines[i];
            if (line.from_m < previous.to_m)
                warn(line.at, line.from_m, "montagne-sovrapposte",
                     "la montagna comincia a " + metres(line.from_m) + ", prima della fine della precedente (" +
                         metres(previous.to_m) + "): prende il lato 3",
                     &previous, "la montagna precedente");
            else if (line.from_m - previous.to_m <= 150)
                warn(line.at, line.from_m, "montagne-vicine",
                     "la montagna comincia " + metres(line.from_m - previous.to_m) +
                         " dopo la fine della precedente (150 m o meno): prende il lato 3 invece del suo",
                     &previous, "la montagna precedente");
        }
    }

    void stations_on_the_route(const std::vector<PlacedLine>& stations)
    {
        const int64_t length = c_.model.records[tratta::ScenarioRecords::train_header].end_m;
        const TracedField* length_field = route_length_field(c_);
        for (const PlacedLine& s : stations) {
            if (s.from_m <= length)
                continue;
            // A line the reading stopped in gave its position but not its name.
            const std::string station = s.name.empty() ? "la stazione" : "la stazione «" + s.name + "»";
            Diagnostic d = warning_at(s.at, "stazione-oltre-la-fine",
                                      station + " a " + metres(s.from_m) + " sta oltre la fine del percorso (" +
                                          metres(length) + "), nel tratto di uscita");
            d.at_m = s.from_m;
            if (length_field != nullptr)
                d.related.push_back({length_field->place, "la lunghezza del percorso, letta qui come " + metres(length)});
            out_.push_back(std::move(d));
        }
    }

    const tratta::CompileResult& c_;
    std::vector<Diagnostic>& out_;
};

} // namespace

void order_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    OrderRules(compiled, out).run();
}

} // namespace autore

// Numbers as the author wrote them against what the reader made of them, and
// values that the railway or the simulator's fields cannot mean.
#include "autore/analysis/rules.hpp"
#include "autore/analysis/trace_walk.hpp"

#include "model/nearest.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <cstdlib>
#include <string>

namespace autore {

namespace {

using tratta::TracedField;
namespace lk = tratta::line_keys;
namespace tk = tratta::train_keys;

bool digit(char c) { return c >= '0' && c <= '9'; }

// How a numeric token is written.
enum class TokenShape { clean, empty, no_number, letters_after, decimals, thousands };

TokenShape shape_of(std::string_view t)
{
    if (t.empty())
        return TokenShape::empty;
    std::size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    const std::size_t digits_from = i;
    while (i < t.size() && digit(t[i]))
        ++i;
    if (i == digits_from)
        return TokenShape::no_number;
    if (i == t.size())
        return TokenShape::clean;
    if (t[i] == '.' && i + 1 < t.size() && digit(t[i + 1])) {
        std::size_t j = i + 1;
        while (j < t.size() && digit(t[j]))
            ++j;
        if (j != t.size())
            return TokenShape::letters_after;
        // One to three digits before the point and three after it: a
        // thousands separator, as in "334.000" for 334000.
        return (j - i - 1 == 3 && i - digits_from <= 3) ? TokenShape::thousands : TokenShape::decimals;
    }
    return TokenShape::letters_after;
}

// Letters that look like digits, as a hand slips on the keyboard: O for 0, l for 1.
std::string as_digits(std::string_view t)
{
    std::string out;
    for (char c : t) {
        switch (c) {
        case 'O': case 'o': out += '0'; break;
        case 'l': case 'I': out += '1'; break;
        default:
            if (!digit(c) && c != '-' && c != '+')
                return {};
            out += c;
        }
    }
    return out;
}

std::string quoted(std::string_view t) { return quoted_field(t); }

class NumberRules {
public:
    NumberRules(const tratta::CompileResult& c, std::vector<Diagnostic>& out) : c_(c), out_(out) {}

    void run()
    {
        for (const TracedField& f : c_.trace.fields) {
            if (f.role != TracedField::Role::number || f.key == nullptr || f.index >= f.key->fields.size())
                continue;
            written(f);
            meant(f);
        }
    }

private:
    void warn(const TracedField& f, const char* code, std::string message)
    {
        out_.push_back(warning_at(f.place, code, std::move(message)));
    }

    std::string field_of(const TracedField& f) const { return field_words(f); }

    // How the token reads.
    void written(const TracedField& f)
    {
        const std::string v = std::to_string(f.value);
        switch (shape_of(f.token)) {
        case TokenShape::clean: break;
        case TokenShape::empty:
            // Speeds 4 to 6 of a speed indicator are left empty on purpose.
            if (!(f.key == &lk::speed_indicator && f.index >= 5 && f.index <= 7))
                warn(f, "campo-vuoto", field_of(f) + " è vuoto: letto come 0");
            break;
        case TokenShape::no_number:
            warn(f, "numero-malformato",
                 quoted(f.token) + " per " + field_of(f) + " letto come 0: non comincia con una cifra");
            break;
        case TokenShape::letters_after: {
            std::string message = quoted(f.token) + " per " + field_of(f) + " letto come " + v + ": lettere dopo le cifre";
            if (const std::string d = as_digits(f.token); !d.empty())
                message += " (forse " + quoted(d) + "?)";
            warn(f, "numero-malformato", message);
            break;
        }
        case TokenShape::decimals:
            warn(f, "numero-con-decimali",
                 quoted(f.token) + " per " + field_of(f) + " arrotondato a " + v + ": i campi sono numeri interi");
            break;
        case TokenShape::thousands: {
            std::string whole(f.token);
            whole.erase(whole.find('.'), 1);
            warn(f, "separatore-migliaia",
                 quoted(f.token) + " per " + field_of(f) + " letto come " + v +
                     ": il punto separa i decimali, non le migliaia (per " + whole + " si scrive " + whole + ")");
            break;
        }
        }
    }

    // What the value means on the railway.
    void meant(const TracedField& f)
    {
        const int64_t v = f.value;
        const auto* k = f.key;
        const std::string value = std::to_string(v);
        if (k == &tk::cars && (v < 1 || v > 40))
            warn(f, "valore-implausibile", value + " vetture: un treno ne ha da 1 a qualche decina");
        if (k == &tk::braked_mass && (v < 1 || v > 300))
            warn(f, "valore-implausibile", value + " come percentuale di massa frenata: di solito sta tra 50 e 200");
        if (k == &tk::clock || (k == &tk::station && f.index >= 13 && f.index <= 15))
            clock_field(f, k == &tk::clock ? f.index : f.index - 13);
        if (k == &tk::speed_limit && f.index == 1) {
            if (v > 350)
                warn(f, "velocita-implausibile", value + " km/h: oltre ogni limite di velocità di una ferrovia (fino a 350 km/h)");
            else if (v >= 0 && v % 5 != 0)
                warn(f, "velocita-arrotondata",
                     value + " km/h si memorizza in unità di 5 km/h: diventa " + std::to_string(tratta::nearest(static_cast<double>(v) / 5.0) * 5) + " km/h");
        }
        if (k == &tk::adhesion && f.index == 1 && (v < 0 || v > 255))
            warn(f, "valore-troncato", "aderenza " + value + ": se ne tengono gli 8 bit bassi, cioè " + std::to_string(v & 0xFF));
        if (k == &lk::gradient && f.index == 1) {
            if (v < -100 || v > 155)
                warn(f, "valore-troncato", "pendenza " + value + ": fuori da -100 .. 155 non si memorizza com'è scritta");
            else if (std::llabs(v) > 60)
                warn(f, "valore-implausibile", "pendenza del " + value + " per mille: una ferrovia ad aderenza arriva a circa 60");
        }
        if (k == &tk::signal && f.index >= 2 && f.index <= 9 && f.index != 6 && (v < 0 || v > 9))
            warn(f, "cifra-non-valida", value + " come " + std::string(k->fields[f.index].name) +
                                            ": una cifra va da 0 a 9");
        if (k == &tk::signal && f.index == 10 && v > 255)
            warn(f, "valore-troncato", "valore aggiuntivo " + value + ": se ne tengono gli 8 bit bassi, cioè " + std::to_string(v & 0xFF));
        if ((k == &lk::curve && f.index == 1) || (k == &tk::slowdown && f.index == 2)) {
            if (v <= 0)
                warn(f, "lunghezza-non-positiva", "lunghezza " + value + " m: " +
                                                      (k == &lk::curve ? "la curva non gira" : "il rallentamento non copre nulla"));
        }
    }

    void clock_field(const TracedField& f, int which)
    {
        static constexpr int64_t limits[] = {23, 59, 59};
        static constexpr const char* names[] = {"ore", "minuti", "secondi"};
        if (which < 0 || which > 2)
            return;
        if (f.value < 0 || f.value > limits[which])
            warn(f, "ora-non-valida", std::to_string(f.value) + " " + names[which] + ": vanno da 0 a " +
                                          std::to_string(limits[which]));
    }

    const tratta::CompileResult& c_;
    std::vector<Diagnostic>& out_;
};

} // namespace

void number_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    NumberRules(compiled, out).run();
}

} // namespace autore

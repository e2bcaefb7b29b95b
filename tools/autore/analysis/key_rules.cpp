// Keys as the reader took them: a key that matches no line kind, spare fields
// after a line's values, values taken from the line after, a key read as two
// line kinds at once.
#include "autore/analysis/rules.hpp"
#include "autore/analysis/trace_walk.hpp"

#include "model/code_page.hpp"
#include "source/keys.hpp"
#include "source/line/line_keys.hpp"
#include "source/line/track_plan.hpp"
#include "source/part_keys.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace autore {

namespace {

using tratta::KeySpec;
using tratta::SourceFile;
using tratta::TracedField;
using tratta::TracedFields;
using tratta::TracePart;

std::size_t edit_distance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// How far what was written lies from a key. A curve key carries its side
// and class after "curva" ("curvas1"), so only its first letters count.
std::size_t distance_to(std::string_view written, std::string_view key)
{
    if (key == "curva" && written.size() > key.size())
        written = written.substr(0, key.size());
    return edit_distance(written, key);
}

// The known key nearest to what was written, when it is near enough to be a slip.
const KeySpec* nearest_key(std::string_view written, std::span<const KeySpec* const> keys, std::size_t* distance = nullptr)
{
    const std::string w = tratta::lower_cp1252(written);
    const KeySpec* best = nullptr;
    std::size_t best_distance = 0;
    for (const KeySpec* k : keys) {
        const std::size_t d = distance_to(w, k->key);
        if (best == nullptr || d < best_distance) {
            best = k;
            best_distance = d;
        }
    }
    if (distance != nullptr)
        *distance = best_distance;
    const std::size_t allowed = std::max<std::size_t>(2, written.size() / 3);
    return best != nullptr && best_distance <= allowed ? best : nullptr;
}

bool is_header(std::string_view key) { return key.starts_with('[') && key.ends_with(']'); }

std::string quoted(std::string_view t) { return quoted_field(t); }

class KeyRules {
public:
    KeyRules(const tratta::CompileResult& c, std::vector<Diagnostic>& out) : fields_(c.trace.fields), out_(out) {}

    void run()
    {
        int32_t unknown_line = 0;
        SourceFile unknown_file = SourceFile::none;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const TracedField& f = fields_[i];
            if (f.role != TracedField::Role::key || f.part == TracePart::preamble)
                continue;
            if (f.matches > 1)
                warn(f, "chiave-ambigua", "la chiave " + quoted(f.token) + " è letta come " + std::to_string(f.matches) +
                                              " righe diverse, l'ultima come «" + std::string(f.key->key) +
                                              "»: ogni riga ha una sola parola chiave");
            if (f.key == &tratta::line_keys::curve)
                curve_side(f);
            if (f.matches > 0) {
                values_on_their_line(i);
                continue;
            }
            if (f.token.empty() || is_header(f.token) || tratta::is_comment(f.token))
                continue;
            if (f.place.file == unknown_file && f.place.line == unknown_line)
                continue; // the rest of a line whose key is already unknown
            const TracedField* before = i > 0 ? &fields_[i - 1] : nullptr;
            const bool first_on_line =
                before == nullptr || before->place.file != f.place.file || before->place.line != f.place.line;
            if (first_on_line) {
                unknown_key(f);
                unknown_line = f.place.line;
                unknown_file = f.place.file;
            } else {
                spare_field(f, *before);
            }
        }
    }

private:
    void warn(const TracedField& f, const char* code, std::string message)
    {
        out_.push_back(warning_at(f.place, code, std::move(message)));
    }

    // A curve key names its side right after "curva", then its class:
    // "curvas1" (left), "curvad3" (right). The reader turns a curve left for
    // an "s" anywhere in the key and right otherwise, so "curvax4" is a right
    // curve and "curvasd4" a left one, which the author can hardly have meant.
    void curve_side(const TracedField& f)
    {
        const std::string key = tratta::lower_cp1252(f.token);
        const std::size_t at = key.find("curva");
        const auto read = tratta::curve_key(f.token);
        if (at == std::string::npos || !read)
            return; // without a class the line is refused (error 103)
        std::string rest;
        for (const char c : key.substr(at + 5))
            if (c != ' ' && c != '\t')
                rest.push_back(c);
        const bool as_written = rest.size() == 2 && (rest[0] == 's' || rest[0] == 'd') &&
                                read->left == (rest[0] == 's') && read->curve_class == rest[1] - '0';
        if (as_written)
            return;
        warn(f, "curva-ambigua",
             "la chiave di curva " + quoted(f.token) + " non dice il lato con una sola «s» (sinistra) o «d» (destra) " +
                 "dopo «curva»: è letta come curva a " + (read->left ? "sinistra" : "destra") + " di classe " +
                 std::to_string(read->curve_class) + (read->left ? " (c'è una «s» nella chiave)" : " (nessuna «s» nella chiave)"));
    }

    void unknown_key(const TracedField& f)
    {
        const auto keys = tratta::keys_of(f.place.file, f.part);
        // A key of the other part of the line file is not looked for where it stands.
        if (f.place.file == SourceFile::line) {
            const auto other = f.part == TracePart::general ? tratta::line_keys::body() : tratta::line_keys::general();
            std::size_t distance = 0;
            if (nearest_key(f.token, other, &distance) != nullptr && distance == 0) {
                warn(f, "chiave-fuori-sezione",
                     quoted(f.token) + (f.part == TracePart::general ? " nella sezione generale non viene letta: va dopo "
                                                                       "l'intestazione che chiude la sezione"
                                                                     : " dopo la sezione generale non viene letta: va "
                                                                       "tra «[generale]» e l'intestazione che la chiude") +
                         "; la riga è ignorata");
                return;
            }
        }
        std::string message = "chiave " + quoted(f.token) + " sconosciuta: la riga è ignorata";
        if (const KeySpec* k = nearest_key(f.token, keys))
            message += " (forse «" + std::string(k->key) + "»?)";
        warn(f, "chiave-sconosciuta", message);
    }

    void spare_field(const TracedField& f, const TracedField& before)
    {
        std::string message = "campo in più " + quoted(f.token) + " dopo i valori della riga: non viene letto";
        const bool all_digits = std::all_of(f.token.begin(), f.token.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (before.role == TracedField::Role::number && all_digits && !f.token.empty())
            message += " (forse una virgola decimale in " + quoted(std::string(before.token) + "," + std::string(f.token)) +
                       "? i numeri sono interi)";
        // A name or a board text ends at a comma unless it stands in quotes.
        else if (before.role == TracedField::Role::text) {
            const std::string text = std::string(before.token) + ", " + std::string(f.token);
            message += " (forse una virgola nel testo? un testo con la virgola va tra virgolette: \"" +
                       tratta::cp1252_to_utf8(text) + "\")";
        }
        warn(f, "campo-in-piu", message);
    }

    // A line short of values takes them from the next line.
    void values_on_their_line(std::size_t key_at)
    {
        const TracedField& key = fields_[key_at];
        for (std::size_t j = key_at + 1; j < fields_.size() && fields_[j].role != TracedField::Role::key; ++j) {
            const TracedField& v = fields_[j];
            if (v.place.line != key.place.line) {
                warn(v, "valori-dalla-riga-dopo",
                     "alla riga di " + quoted(key.token) + " mancano dei campi: " + field_words(v) + " è preso da questa riga");
                return;
            }
        }
    }

    const TracedFields& fields_;
    std::vector<Diagnostic>& out_;
};

} // namespace

std::string field_words(const TracedField& value)
{
    if (value.key == nullptr || value.index >= value.key->fields.size())
        return "un campo";
    return "il campo «" + std::string(value.key->fields[value.index].name) + "» di «" + std::string(value.key->key) + "»";
}

void key_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    KeyRules(compiled, out).run();
}

} // namespace autore

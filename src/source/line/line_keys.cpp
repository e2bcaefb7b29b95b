#include "source/line/line_keys.hpp"

namespace tratta::line_keys {

namespace {

using W = FieldWidth;

constexpr FieldSpec length_fields[] = {
    {"lunghezza", W::i32, "m", "lunghezza del percorso, da 0 a 1000000"},
};
constexpr FieldSpec chainage_fields[] = {
    {"inizio", W::i32, "m", "posizione sul percorso da cui vale la progressiva; multiplo di 50"},
    {"scostamento", W::i32, "m", "chilometro = posizione + scostamento (verso 0) o scostamento - posizione (verso 1); multiplo di 50"},
    {"verso", W::i32, "", "0: i chilometri crescono lungo il percorso; 1: decrescono"},
};
constexpr FieldSpec background_fields[] = {
    {"codice", W::i32, "", "codice dello sfondo"},
};
constexpr FieldSpec repetition_fields[] = {
    {"inizio", W::i32, "m", "inizio del tratto con ripetizione segnali; multiplo di 50"},
    {"fine", W::i32, "m", "fine del tratto; multiplo di 50; 0 = nessun tratto"},
};
constexpr FieldSpec gradient_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale la pendenza"},
    {"pendenza", W::i32, "‰", "pendenza con segno; da -100 a 155 si memorizza esatta"},
};
constexpr FieldSpec curve_fields[] = {
    {"inizio", W::i32, "m", "la curva comincia dopo questo metro"},
    {"lunghezza", W::i32, "m", "lunghezza della curva"},
};
constexpr FieldSpec mountain_fields[] = {
    {"inizio", W::i32, "m", "inizio del tratto lungo la montagna"},
    {"fine", W::i32, "m", "fine del tratto"},
    {"codice", W::i32, "", "lato della montagna; oltre 10: codice - 10 con un segnalino ogni quarta cella"},
};
constexpr FieldSpec indicator_fields[] = {
    {"posizione", W::i32, "m", "posizione del cartello"},
    {"velocità 1", W::i32, "km/h", "prima velocità (x 20 nel primo valore)"},
    {"velocità 2", W::i32, "km/h", "seconda velocità (x 20 nel secondo valore)"},
    {"velocità 3", W::i32, "km/h", "terza velocità (x 20 nel terzo valore)"},
    {"tipo 1", W::i32, "", "primo tipo (x 10 nel quarto valore)"},
    {"velocità 4", W::i32, "km/h", "aggiunta al primo valore divisa per 5; vuoto = 0"},
    {"velocità 5", W::i32, "km/h", "aggiunta al secondo valore divisa per 5; vuoto = 0"},
    {"velocità 6", W::i32, "km/h", "aggiunta al terzo valore divisa per 5; vuoto = 0"},
    {"tipo 2", W::i32, "", "secondo tipo (unità del quarto valore)"},
};
constexpr FieldSpec board_fields[] = {
    {"posizione", W::i32, "m", "posizione del cartello"},
    {"testo", W::text, "", "testo del cartello fino a fine riga; nessuna virgola"},
};

} // namespace

const KeySpec route_length{"lunghezza percorso", "[generale]", "lunghezza del percorso", length_fields};
const KeySpec chainage_tre{"progressiva chilometrica tre", "[generale]", "terza progressiva chilometrica", chainage_fields};
const KeySpec chainage_due{"progressiva chilometrica due", "[generale]", "seconda progressiva chilometrica", chainage_fields};
const KeySpec chainage_uno{"progressiva chilometrica uno", "[generale]", "prima progressiva chilometrica", chainage_fields};
const KeySpec background_uno{"sfondo uno", "[generale]", "primo codice di sfondo", background_fields};
const KeySpec background_due{"sfondo due", "[generale]", "secondo codice di sfondo", background_fields};
const KeySpec background_tre{"sfondo tre", "[generale]", "terzo codice di sfondo", background_fields};
const KeySpec signal_repetition{"ripetizione segnali 9 codici", "[generale]",
                                "tratto con ripetizione dei segnali in cabina, a 4 o 9 codici (la cifra nella chiave)",
                                repetition_fields};

const KeySpec gradient{"pendenza", "[pendenze]", "pendenza della linea da una posizione in poi", gradient_fields};
const KeySpec curve{"curva", "[curve]",
                    "curva: \"curva\", \"s\" (sinistra) o \"d\" (destra) e la classe da 1 (raggio 10000 m) a 6 (333 m)",
                    curve_fields};
const KeySpec mountain{"montagna", "[montagne]", "tratto che corre lungo il fianco di una montagna", mountain_fields};
const KeySpec speed_indicator{"indicatori_vmax", "[cartelli]", "cartello indicatore di velocità massima", indicator_fields};
const KeySpec sign_board{"cartello_indicatore", "[indicazioni]", "cartello con un testo accanto al binario", board_fields};

namespace {

constexpr const KeySpec* general_list[] = {&route_length,   &chainage_tre,   &chainage_due,   &chainage_uno,
                                           &background_uno, &background_due, &background_tre, &signal_repetition};
constexpr const KeySpec* body_list[] = {&gradient, &curve, &mountain, &speed_indicator, &sign_board};

} // namespace

std::span<const KeySpec* const> general() { return general_list; }
std::span<const KeySpec* const> body() { return body_list; }

} // namespace tratta::line_keys

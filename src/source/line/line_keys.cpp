#include "source/line/line_keys.hpp"

namespace tratta::line_keys {

namespace {

using W = FieldWidth;

constexpr FieldSpec length_fields[] = {
    {"lunghezza", W::i32, "m", "lunghezza del percorso, da 0 a 1000000",
     "da 0 a 1000000; fuori, errore 1 e nessun file", "nessuno: senza la riga, errore 25 e nessun file",
     ".sim: end_m del record 84; .dat: una cella ogni 50 m fino a lunghezza + 7000 m; _linea.dat: un punto per "
     "metro fino a lunghezza + 7000 m"},
};
constexpr FieldSpec chainage_fields[] = {
    {"inizio", W::i32, "m", "posizione sul percorso da cui vale la progressiva; multiplo di 50",
     "multiplo di 50 (se no, errore 2)", "0",
     ".sim: start_m di uno dei record 81, 82, 83, ordinati per inizio (il più avanzato nell'81)"},
    {"scostamento", W::i32, "m", "chilometro = posizione + scostamento (verso 0) o scostamento - posizione (verso 1); multiplo di 50",
     "multiplo di 50 (se no, errore 2)", "0", ".sim: end_m dello stesso record, più 100 quando il verso è 1"},
    {"verso", W::i32, "", "0: i chilometri crescono lungo il percorso; 1: decrescono", "0 o 1", "0",
     ".sim: at_m dello stesso record"},
};
constexpr FieldSpec background_fields[] = {
    {"codice", W::i32, "", "codice dello sfondo", "numero a 32 bit", "0",
     ".sim, record 85: start_m (sfondo uno), at_m (sfondo due), end_m (sfondo tre)"},
};
constexpr FieldSpec repetition_fields[] = {
    {"inizio", W::i32, "m", "inizio del tratto con ripetizione segnali; multiplo di 50", "multiplo di 50", "0",
     ".sim: start_m del record 86"},
    {"fine", W::i32, "m", "fine del tratto; multiplo di 50; 0 = nessun tratto", "multiplo di 50; 0: nessun tratto", "0",
     ".sim: end_m del record 86; at_m vi tiene il numero dei codici (4 o 9, dalla cifra nella chiave; 0 senza "
     "tratto)"},
};
constexpr FieldSpec gradient_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale la pendenza",
     "da 0 alla fine della griglia (errore 15), in ordine crescente", "0",
     ".dat: gradient delle celle dalla cella nearest(posizione / 50) fino a quella della riga seguente"},
    {"pendenza", W::i32, "‰", "pendenza con segno; da -100 a 155 si memorizza esatta",
     "da -100 a 155; oltre se ne tengono gli 8 bit bassi di pendenza + 100", "0",
     ".dat: gradient = pendenza + 100 (100 è il piano)"},
};
constexpr FieldSpec curve_fields[] = {
    {"inizio", W::i32, "m", "la curva comincia dopo questo metro",
     "da 0, in ordine crescente; una curva che comincia prima della fine della precedente non cambia nulla", "0",
     "_linea.dat: dal metro inizio la pianta volta di un angolo fisso a ogni metro"},
    {"lunghezza", W::i32, "m", "lunghezza della curva", "la pianta si ferma a 1000000 metri (errore 103)", "0",
     "_linea.dat: i metri della curva; il lato (s o d) e la classe (1 a 6) vengono dalla chiave"},
};
constexpr FieldSpec mountain_fields[] = {
    {"inizio", W::i32, "m", "inizio del tratto lungo la montagna", "dentro la griglia (errore 15)", "0",
     ".dat: side delle celle da nearest(inizio / 50)"},
    {"fine", W::i32, "m", "fine del tratto", "dopo l'inizio; la griglia finisce il tratto", "0",
     ".dat: side delle celle fino a nearest(fine / 50) - 1"},
    {"codice", W::i32, "", "lato della montagna; oltre 10: codice - 10 con un segnalino ogni quarta cella",
     "se ne tengono gli 8 bit bassi; 150 m o meno dopo la montagna precedente vale 3", "0",
     ".dat: side = codice (oltre 10: codice - 10, e kind 11 in ogni quarta cella libera)"},
};
constexpr FieldSpec indicator_fields[] = {
    {"posizione", W::i32, "m", "posizione del cartello", "dentro la griglia (errore 15), in una cella libera (errore 21)",
     "0", ".dat: kind 6 nella cella nearest(posizione / 50 + 1), 50 m più avanti"},
    {"velocità 1", W::i32, "km/h", "prima velocità (x 20 nel primo valore)",
     "velocità 1 × 20 + velocità 4 / 5 fino a 32767 (se no, errore 25)", "0", ".dat: value = velocità 1 × 20 + velocità 4 / 5"},
    {"velocità 2", W::i32, "km/h", "seconda velocità (x 20 nel secondo valore)", "come velocità 1", "0",
     ".dat: value2 = velocità 2 × 20 + velocità 5 / 5"},
    {"velocità 3", W::i32, "km/h", "terza velocità (x 20 nel terzo valore)", "come velocità 1", "0",
     ".dat: value3 = velocità 3 × 20 + velocità 6 / 5"},
    {"tipo 1", W::i32, "", "primo tipo (x 10 nel quarto valore)", "se ne tengono i 16 bit bassi", "0",
     ".dat: value4 = tipo 1 × 10 + tipo 2"},
    {"velocità 4", W::i32, "km/h", "aggiunta al primo valore divisa per 5; vuoto = 0", "come velocità 1", "0 (vuoto)",
     ".dat: value, divisa per 5 e arrotondata"},
    {"velocità 5", W::i32, "km/h", "aggiunta al secondo valore divisa per 5; vuoto = 0", "come velocità 1", "0 (vuoto)",
     ".dat: value2, divisa per 5 e arrotondata"},
    {"velocità 6", W::i32, "km/h", "aggiunta al terzo valore divisa per 5; vuoto = 0", "come velocità 1", "0 (vuoto)",
     ".dat: value3, divisa per 5 e arrotondata"},
    {"tipo 2", W::i32, "", "secondo tipo (unità del quarto valore)", "se ne tengono i 16 bit bassi", "0",
     ".dat: value4, le unità"},
};
constexpr FieldSpec board_fields[] = {
    {"posizione", W::i32, "m", "posizione del cartello",
     "dentro la griglia (errore 15), in una cella libera (errore 6); al più 80 cartelli (errore 28)", "0",
     ".dat: kind 14 nella cella nearest(posizione / 50 + 1), 50 m più avanti, con value = il record del testo"},
    {"testo", W::text, "", "testo del cartello fino a fine riga; nessuna virgola", "fino a fine riga, senza virgole",
     "vuoto", ".sim: text del record 80 per il primo cartello, 79 per il secondo, e così via"},
};

} // namespace

const KeySpec route_length{"lunghezza percorso", "[generale]", "lunghezza del percorso", length_fields,
                           "lunghezza percorso,    334000", "una, obbligatoria"};
const KeySpec chainage_tre{"progressiva chilometrica tre", "[generale]", "terza progressiva chilometrica",
                           chainage_fields, "progressiva chilometrica tre,    315950,    412050,    1",
                           "al più una; senza, la progressiva resta a 0"};
const KeySpec chainage_due{"progressiva chilometrica due", "[generale]", "seconda progressiva chilometrica",
                           chainage_fields, "progressiva chilometrica due,    284500,    -284500,    0",
                           "al più una; senza, la progressiva resta a 0"};
const KeySpec chainage_uno{"progressiva chilometrica uno", "[generale]", "prima progressiva chilometrica",
                           chainage_fields, "progressiva chilometrica uno,    31100,    3050,    0",
                           "al più una; senza, la progressiva resta a 0"};
const KeySpec background_uno{"sfondo uno", "[generale]", "primo codice di sfondo", background_fields,
                             "sfondo uno,    1", "al più una"};
const KeySpec background_due{"sfondo due", "[generale]", "secondo codice di sfondo", background_fields,
                             "sfondo due,    0", "al più una"};
const KeySpec background_tre{"sfondo tre", "[generale]", "terzo codice di sfondo", background_fields,
                             "sfondo tre,    0", "al più una"};
const KeySpec signal_repetition{"ripetizione segnali 9 codici", "[generale]",
                                "tratto con ripetizione dei segnali in cabina, a 4 o 9 codici (la cifra nella chiave)",
                                repetition_fields, "ripetizione segnali 9 codici,    7050,    330700",
                                "al più una; la chiave contiene 4 o 9 (senza, errore 5)"};

const KeySpec gradient{"pendenza", "[pendenze]", "pendenza della linea da una posizione in poi", gradient_fields,
                       "pendenza,  600,   -11", "quante servono, in ordine di posizione"};
const KeySpec curve{"curva", "[curve]",
                    "curva: \"curva\", \"s\" (sinistra) o \"d\" (destra) e la classe da 1 (raggio 10000 m) a 6 (333 m)",
                    curve_fields, "curvas1,  1350,  150", "quante servono, in ordine di inizio"};
const KeySpec mountain{"montagna", "[montagne]", "tratto che corre lungo il fianco di una montagna", mountain_fields,
                       "montagna,   8750,  11050,  12", "quante servono"};
const KeySpec speed_indicator{"indicatori_vmax", "[cartelli]", "cartello indicatore di velocità massima",
                              indicator_fields, "indicatori_vmax,  12050,  85,  90,  95,  0,  85,  90,  95,  0",
                              "quante servono, uno per cella"};
const KeySpec sign_board{"cartello_indicatore", "[indicazioni]", "cartello con un testo accanto al binario",
                         board_fields, "cartello_indicatore,  28000,   (  Cippo  )(Km 28+000)",
                         "fino a 80, meno le stazioni del file del treno"};

namespace {

constexpr const KeySpec* general_list[] = {&route_length,   &chainage_tre,   &chainage_due,   &chainage_uno,
                                           &background_uno, &background_due, &background_tre, &signal_repetition};
constexpr const KeySpec* body_list[] = {&gradient, &curve, &mountain, &speed_indicator, &sign_board};

} // namespace

std::span<const KeySpec* const> general() { return general_list; }
std::span<const KeySpec* const> body() { return body_list; }

} // namespace tratta::line_keys

#include "source/train/train_keys.hpp"

namespace tratta::train_keys {

namespace {

using W = FieldWidth;

constexpr FieldSpec braked_mass_fields[] = {
    {"percentuale", W::i32, "%", "percentuale di massa frenata del treno", "numero a 32 bit", "0",
     ".sim: start_m del record 84"},
};
constexpr FieldSpec cars_fields[] = {
    {"vetture", W::i32, "", "numero delle vetture", "numero a 32 bit", "0", ".sim: at_m del record 84"},
};
constexpr FieldSpec speed_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale il limite",
     "da 0, in ordine crescente; la prima riga a 0", "0",
     ".dat: speed5 delle celle dalla cella nearest(posizione / 50) fino a quella della riga seguente"},
    {"velocità", W::i32, "km/h", "velocità massima, da 0 a 1275; si memorizza in unità di 5 km/h",
     "da 0 a 1275 (se no, errore 25)", "0", ".dat: speed5 = velocità / 5, arrotondata"},
};
constexpr FieldSpec adhesion_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale l'aderenza",
     "da 0, in ordine crescente; la prima riga a 0", "0",
     ".dat: adhesion delle celle dalla cella nearest(posizione / 50) fino a quella della riga seguente"},
    {"aderenza", W::i32, "", "valore dell'aderenza, da 0 a 255 (se ne tengono gli 8 bit bassi)",
     "da 0 a 255; oltre se ne tengono gli 8 bit bassi", "0", ".dat: adhesion"},
};
constexpr FieldSpec clock_fields[] = {
    {"ore", W::i16, "h", "ora di partenza", "numero a 16 bit", "0", ".sim: int_c del record 86"},
    {"minuti", W::i16, "min", "minuti", "numero a 16 bit", "0", ".sim: int_d del record 86"},
    {"secondi", W::i16, "s", "secondi", "numero a 16 bit", "0", ".sim: int_e del record 86"},
};
constexpr FieldSpec sand_fields[] = {
    {"sabbia", W::i16, "", "scorta di sabbia", "numero a 16 bit", "0", ".sim: int_a del record 86"},
};
constexpr FieldSpec signal_fields[] = {
    {"posizione", W::i32, "m", "posizione del segnale; il segnale sta nella cella dopo quella della posizione",
     "almeno 100 m prima della fine della griglia (errore 15), in una cella libera (errore 16)", "0",
     ".dat: kind 1 nella cella nearest(posizione / 50 + 1), 50 m più avanti; approach nelle celle 2, 4, 6 e 8 "
     "prima"},
    {"tipo", W::i32, "", "tipo del segnale; il tipo 2 tiene il valore aggiuntivo", "numero a 32 bit", "0",
     ".dat: value4 (tipo × 3) e approach ((tipo × 3 + cifra di marcatura) × 10 + k); col tipo 2 aux"},
    {"decine del primo valore", W::i32, "", "primo valore = decine x 10 + unità", "se ne tengono i 16 bit bassi",
     "0", ".dat: value = decine × 10 + unità"},
    {"decine del secondo valore", W::i32, "", "secondo valore = decine x 10 + unità", "se ne tengono i 16 bit bassi",
     "0", ".dat: value2 = decine × 10 + unità"},
    {"decine del terzo valore", W::i32, "", "terzo valore = decine x 10 + unità", "se ne tengono i 16 bit bassi",
     "0", ".dat: value3 = decine × 10 + unità"},
    {"decine del quarto valore", W::i32, "", "quarto valore = decine x 10 + tipo x 3 + cifra di marcatura",
     "se ne tengono i 16 bit bassi", "0", ".dat: value4 = decine × 10 + tipo × 3 + cifra di marcatura"},
    {"cifra di marcatura", W::i32, "", "aggiunta al quarto valore e ai numeri di approccio", "numero a 32 bit", "0",
     ".dat: value4 e approach"},
    {"unità del primo valore", W::i32, "", "", "numero a 32 bit", "0", ".dat: value"},
    {"unità del secondo valore", W::i32, "", "", "numero a 32 bit", "0", ".dat: value2"},
    {"unità del terzo valore", W::i32, "", "", "numero a 32 bit", "0", ".dat: value3"},
    {"valore aggiuntivo", W::i32, "", "da 1 a 100 diventa 101", "da 1 a 100 diventa 101; se ne tengono gli 8 bit bassi",
     "0", ".dat: aux, solo col tipo 2"},
};
constexpr FieldSpec slowdown_fields[] = {
    {"inizio", W::i32, "m", "inizio del rallentamento; l'avviso sta 1200 m prima",
     "almeno 100 m prima della fine della griglia (errore 15); celle libere (errori 17, 18, 19)", "0",
     ".dat: kind 3 nella cella nearest(inizio / 50 + 1); oltre 1500 m, kind 4 (avviso) nella cella "
     "nearest((inizio - 1200) / 50 + 1)"},
    {"velocità", W::i32, "km/h", "velocità del rallentamento", "se ne tengono i 16 bit bassi", "0",
     ".dat: value delle celle di avviso, di inizio e di fine"},
    {"lunghezza", W::i32, "m", "lunghezza del rallentamento", "la fine cade dentro la griglia (errore 26)", "0",
     ".dat: kind 2 nella cella nearest((inizio + lunghezza) / 50 + 1)"},
    {"quarto valore", W::i32, "", "memorizzato nelle celle di inizio e di fine", "se ne tengono i 16 bit bassi", "0",
     ".dat: value3 delle celle di inizio e di fine"},
    {"tabelle di preavviso", W::i32, "", "non 0: quattro tabelle prima del punto di avviso",
     "le quattro celle libere (errore 20)", "0",
     ".dat: kind 5 nelle quattro celle prima dell'avviso, value da 1 a 4"},
    {"seconda velocità", W::i32, "km/h", "memorizzata nelle celle se non è 0", "se ne tengono i 16 bit bassi", "0",
     ".dat: value2 delle celle del rallentamento, quando non è 0"},
};
constexpr FieldSpec code_point_fields[] = {
    {"posizione", W::i32, "m", "posizione del punto di abbattimento",
     "almeno 100 m prima della fine della griglia (errore 15), in una cella libera (errore 7)", "0",
     ".dat: kind 12 (o 13 senza codice) nella cella nearest(posizione / 50)"},
    {"valore", W::i32, "", "valore del codice; 0 o meno: punto senza codice", "fino a 32767 (se no, errore 25)", "0",
     ".dat: value (0 o meno: kind 13, value non scritto)"},
};
constexpr FieldSpec station_fields[] = {
    {"posizione", W::i32, "m", "posizione della stazione; multiplo di 50, almeno 800 m prima della fine della griglia",
     "multiplo di 50 (errore 8); almeno 800 m prima della fine della griglia (errore 15); in ordine crescente",
     "0", ".sim: at_m; la zona start_m, end_m; .dat: la cella di fermata"},
    {"tipo", W::u8, "", "tipo della stazione: 5 e 6, 7 e 8, 25 e oltre hanno regole proprie", "da 0 a 255", "0",
     ".sim: kind; sotto 25, .dat: kind 10 nella cella nearest(end_m / 50 - 1) e, tranne i tipi 5 e 6, approach "
     "nelle quattro prima"},
    {"lunghezza", W::i32, "m", "lunghezza della stazione; multiplo di 100", "multiplo di 100 (errore 9)", "0",
     ".sim: solo la zona, start_m e end_m (la lunghezza non si memorizza)"},
    {"primo indicatore", W::u8, "", "", "da 0 a 255", "0", ".sim: flag_a"},
    {"secondo indicatore", W::u8, "", "azzerato se la lunghezza è sotto 600 m e sulla prima stazione", "da 0 a 255",
     "0", ".sim: flag_e"},
    {"terzo indicatore", W::u8, "", "sposta la fine della zona 50 m più avanti", "da 0 a 255", "0",
     ".sim: flag_d; non 0: end_m 50 m più avanti"},
    {"primo gruppo, valore 1", W::i16, "", "", "numero a 16 bit", "0", ".sim: int_a"},
    {"primo gruppo, valore 2", W::i16, "", "", "numero a 16 bit", "0", ".sim: int_b"},
    {"primo gruppo, valore 3", W::u8, "", "", "da 0 a 255", "0", ".sim: flag_b"},
    {"secondo gruppo, valore 1", W::i16, "", "", "numero a 16 bit", "0", ".sim: int_c"},
    {"secondo gruppo, valore 2", W::i16, "", "", "numero a 16 bit", "0", ".sim: int_d"},
    {"secondo gruppo, valore 3", W::i16, "", "", "numero a 16 bit", "0", ".sim: int_e"},
    {"quarto indicatore", W::u8, "", "", "da 0 a 255", "0", ".sim: flag_c"},
    {"ore", W::i32, "h", "ora del giorno alla stazione; 0 0 0 = nessun orario", "numero a 32 bit", "0",
     ".sim: time_s = ore × 3600 + minuti × 60 + secondi"},
    {"minuti", W::i32, "min", "", "numero a 32 bit", "0", ".sim: time_s"},
    {"secondi", W::i32, "s", "", "numero a 32 bit", "0", ".sim: time_s"},
    {"nome", W::text, "", "nome della stazione fino a fine riga; una virgola solo tra virgolette",
     "fino a fine riga; una virgola solo tra virgolette", "vuoto", ".sim: text"},
};

} // namespace

const KeySpec braked_mass{"percentuale massa frenata", "[generale]", "percentuale di massa frenata", braked_mass_fields,
                          "percentuale massa frenata,    125", "al più una"};
const KeySpec cars{"numero vetture", "[generale]", "numero delle vetture del treno", cars_fields,
                   "numero vetture,    16", "al più una"};
const KeySpec speed_limit{"velocita", "[vel_limite]", "limite di velocità da una posizione in poi", speed_fields,
                          "velocita,    1000,   95", "quante servono, in ordine di posizione; la prima a 0"};
const KeySpec adhesion{"aderenza", "[aderenze]", "aderenza da una posizione in poi", adhesion_fields,
                       "aderenza,    8000,   72", "quante servono, in ordine di posizione; la prima a 0"};
const KeySpec clock{"orologio", "[generale]", "ora di partenza: ore, minuti e secondi, anche separati da spazi",
                    clock_fields, "orologio,    19              35            20", "al più una"};
const KeySpec sand{"sabbia", "[generale]", "scorta di sabbia", sand_fields, "sabbia,    200", "al più una"};
const KeySpec signal{"segnale", "[segnali]", "segnale con i suoi quattro valori e quattro celle di approccio",
                     signal_fields, "segnale,    1050,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
                     "quante servono, uno per cella"};
const KeySpec slowdown{"rallentamento", "[rallentamenti]", "rallentamento temporaneo", slowdown_fields,
                       "rallentamento,  209000,    80,  700, 0,  1,  0", "quante servono"};
const KeySpec code_point{"abbattimento", "[codici]", "punto di abbattimento del codice", code_point_fields,
                         "abbattimento,    7050,   270", "quante servono, uno per cella"};
const KeySpec station{"stazione", "[stazioni]", "stazione o fermata del treno", station_fields,
                      "stazione,    3100, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, Portaurea San Vito",
                      "in ordine di posizione, ciascuna almeno 350 m dopo la zona della precedente (errore 22); "
                      "fino a 78, meno i cartelli del file della linea (errore 10)"};

namespace {

constexpr const KeySpec* all_list[] = {&braked_mass, &cars, &speed_limit, &adhesion, &clock,
                                       &sand,        &signal, &slowdown,  &code_point, &station};

} // namespace

std::span<const KeySpec* const> all() { return all_list; }

} // namespace tratta::train_keys

#include "source/train/train_keys.hpp"

namespace tratta::train_keys {

namespace {

using W = FieldWidth;

constexpr FieldSpec braked_mass_fields[] = {
    {"percentuale", W::i32, "%", "percentuale di massa frenata del treno"},
};
constexpr FieldSpec cars_fields[] = {
    {"vetture", W::i32, "", "numero delle vetture"},
};
constexpr FieldSpec speed_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale il limite"},
    {"velocità", W::i32, "km/h", "velocità massima, da 0 a 1275; si memorizza in unità di 5 km/h"},
};
constexpr FieldSpec adhesion_fields[] = {
    {"posizione", W::i32, "m", "da questa posizione in poi vale l'aderenza"},
    {"aderenza", W::i32, "", "valore dell'aderenza, da 0 a 255 (se ne tengono gli 8 bit bassi)"},
};
constexpr FieldSpec clock_fields[] = {
    {"ore", W::i16, "h", "ora di partenza"},
    {"minuti", W::i16, "min", "minuti"},
    {"secondi", W::i16, "s", "secondi"},
};
constexpr FieldSpec sand_fields[] = {
    {"sabbia", W::i16, "", "scorta di sabbia"},
};
constexpr FieldSpec signal_fields[] = {
    {"posizione", W::i32, "m", "posizione del segnale; il segnale sta nella cella dopo quella della posizione"},
    {"tipo", W::i32, "", "tipo del segnale; il tipo 2 tiene il valore aggiuntivo"},
    {"decine del primo valore", W::i32, "", "primo valore = decine x 10 + unità"},
    {"decine del secondo valore", W::i32, "", "secondo valore = decine x 10 + unità"},
    {"decine del terzo valore", W::i32, "", "terzo valore = decine x 10 + unità"},
    {"decine del quarto valore", W::i32, "", "quarto valore = decine x 10 + tipo x 3 + cifra di marcatura"},
    {"cifra di marcatura", W::i32, "", "aggiunta al quarto valore e ai numeri di approccio"},
    {"unità del primo valore", W::i32, "", ""},
    {"unità del secondo valore", W::i32, "", ""},
    {"unità del terzo valore", W::i32, "", ""},
    {"valore aggiuntivo", W::i32, "", "da 1 a 100 diventa 101"},
};
constexpr FieldSpec slowdown_fields[] = {
    {"inizio", W::i32, "m", "inizio del rallentamento; l'avviso sta 1200 m prima"},
    {"velocità", W::i32, "km/h", "velocità del rallentamento"},
    {"lunghezza", W::i32, "m", "lunghezza del rallentamento"},
    {"quarto valore", W::i32, "", "memorizzato nelle celle di inizio e di fine"},
    {"tabelle di preavviso", W::i32, "", "non 0: quattro tabelle prima del punto di avviso"},
    {"seconda velocità", W::i32, "km/h", "memorizzata nelle celle se non è 0"},
};
constexpr FieldSpec code_point_fields[] = {
    {"posizione", W::i32, "m", "posizione del punto di abbattimento"},
    {"valore", W::i32, "", "valore del codice; 0 o meno: punto senza codice"},
};
constexpr FieldSpec station_fields[] = {
    {"posizione", W::i32, "m", "posizione della stazione; multiplo di 50, almeno 800 m prima della fine della griglia"},
    {"tipo", W::u8, "", "tipo della stazione: 5 e 6, 7 e 8, 25 e oltre hanno regole proprie"},
    {"lunghezza", W::i32, "m", "lunghezza della stazione; multiplo di 100"},
    {"primo indicatore", W::u8, "", ""},
    {"secondo indicatore", W::u8, "", "azzerato se la lunghezza è sotto 600 m e sulla prima stazione"},
    {"terzo indicatore", W::u8, "", "sposta la fine della zona 50 m più avanti"},
    {"primo gruppo, valore 1", W::i16, "", ""},
    {"primo gruppo, valore 2", W::i16, "", ""},
    {"primo gruppo, valore 3", W::u8, "", ""},
    {"secondo gruppo, valore 1", W::i16, "", ""},
    {"secondo gruppo, valore 2", W::i16, "", ""},
    {"secondo gruppo, valore 3", W::i16, "", ""},
    {"quarto indicatore", W::u8, "", ""},
    {"ore", W::i32, "h", "ora del giorno alla stazione; 0 0 0 = nessun orario"},
    {"minuti", W::i32, "min", ""},
    {"secondi", W::i32, "s", ""},
    {"nome", W::text, "", "nome della stazione fino a fine riga; una virgola solo tra virgolette"},
};

} // namespace

const KeySpec braked_mass{"percentuale massa frenata", "[generale]", "percentuale di massa frenata", braked_mass_fields};
const KeySpec cars{"numero vetture", "[generale]", "numero delle vetture del treno", cars_fields};
const KeySpec speed_limit{"velocita", "[vel_limite]", "limite di velocità da una posizione in poi", speed_fields};
const KeySpec adhesion{"aderenza", "[aderenze]", "aderenza da una posizione in poi", adhesion_fields};
const KeySpec clock{"orologio", "[generale]", "ora di partenza: ore, minuti e secondi, anche separati da spazi",
                    clock_fields};
const KeySpec sand{"sabbia", "[generale]", "scorta di sabbia", sand_fields};
const KeySpec signal{"segnale", "[segnali]", "segnale con i suoi quattro valori e quattro celle di approccio", signal_fields};
const KeySpec slowdown{"rallentamento", "[rallentamenti]", "rallentamento temporaneo", slowdown_fields};
const KeySpec code_point{"abbattimento", "[codici]", "punto di abbattimento del codice", code_point_fields};
const KeySpec station{"stazione", "[stazioni]", "stazione o fermata del treno", station_fields};

namespace {

constexpr const KeySpec* all_list[] = {&braked_mass, &cars, &speed_limit, &adhesion, &clock,
                                       &sand,        &signal, &slowdown,  &code_point, &station};

} // namespace

std::span<const KeySpec* const> all() { return all_list; }

} // namespace tratta::train_keys

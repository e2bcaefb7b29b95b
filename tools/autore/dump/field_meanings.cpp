#include "autore/dump/field_meanings.hpp"

#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <array>

namespace autore {

namespace {

namespace lk = tratta::line_keys;
namespace tk = tratta::train_keys;

// --- route cells ---------------------------------------------------------------

const FieldMeaning signal_fields[] = {
    {"value", "primo valore", "primo valore del segnale", {&tk::signal, "{3} × 10 + {8}"}},
    {"value2", "secondo valore", "secondo valore del segnale", {&tk::signal, "{4} × 10 + {9}"}},
    {"value3", "terzo valore", "terzo valore del segnale", {&tk::signal, "{5} × 10 + {10}"}},
    {"value4", "quarto valore", "quarto valore del segnale", {&tk::signal, "{6} × 10 + {2} × 3 + {7}"}},
    {"aux", "valore aggiuntivo", "valore aggiuntivo, solo per un segnale di tipo 2 (0 per gli altri)",
     {&tk::signal, "{11}, da 1 a 100 portato a 101"}},
};
const FieldMeaning slowdown_fields[] = {
    {"value", "velocità", "velocità del rallentamento in km/h", {&tk::slowdown, "{2}"}},
    {"value2", "seconda velocità", "seconda velocità in km/h, solo se data", {&tk::slowdown, "{6}, quando non è 0"}},
    {"value3", "quarto valore", "quarto valore del rallentamento", {&tk::slowdown, "{4}"}},
};
const FieldMeaning warning_fields[] = {
    {"value", "velocità", "velocità del rallentamento che segue, in km/h", {&tk::slowdown, "{2}"}},
    {"value2", "seconda velocità", "seconda velocità in km/h, solo se data", {&tk::slowdown, "{6}, quando non è 0"}},
};
const FieldMeaning marker_fields[] = {
    {"value", "tabella n.", "numero della tabella: 1 accanto al punto di avviso, 4 la più lontana",
     {nullptr, "contate dal punto di avviso all'indietro"}},
    {"value2", "tabella n. (seconda velocità)", "lo stesso numero, quando il rallentamento ha una seconda velocità",
     {&tk::slowdown, "numero della tabella, quando {6} non è 0"}},
};
const FieldMeaning indicator_fields[] = {
    {"value", "velocità 1 e 4", "velocità 1 e velocità 4 del cartello", {&lk::speed_indicator, "{2} × 20 + {6} / 5, arrotondato"}},
    {"value2", "velocità 2 e 5", "velocità 2 e velocità 5 del cartello", {&lk::speed_indicator, "{3} × 20 + {7} / 5, arrotondato"}},
    {"value3", "velocità 3 e 6", "velocità 3 e velocità 6 del cartello", {&lk::speed_indicator, "{4} × 20 + {8} / 5, arrotondato"}},
    {"value4", "tipi", "i due tipi del cartello", {&lk::speed_indicator, "{5} × 10 + {9}"}},
};
const FieldMeaning station_stop_fields[] = {
    {"value", "record della stazione", "indice del record della stazione nel file .sim",
     {nullptr, "la prima riga «stazione» del file del treno nel record 1, la seconda nel 2, e così via"}},
};
const FieldMeaning code_point_fields[] = {
    {"value", "codice", "valore del codice", {&tk::code_point, "{2}; 180 per i punti che la compilazione aggiunge intorno ai rallentamenti"}},
};
const FieldMeaning sign_board_fields[] = {
    {"value", "record del testo", "indice del record che tiene il testo del cartello nel file .sim",
     {nullptr, "il primo cartello del file della linea nel record 80, il secondo nel 79, e così via"}},
};

constexpr std::string_view one_cell_on =
    "la cella nearest(p / 50 + 1) della sua posizione p: compare nella griglia 50 m dopo la posizione del file";

const std::array<KindMeaning, 11> kinds{{
    {tratta::kind_signal, &tk::signal, one_cell_on, "posizione del segnale", -1, 0, signal_fields},
    {tratta::kind_slowdown_end, &tk::slowdown,
     "la cella nearest((inizio + lunghezza) / 50 + 1): 50 m dopo la fine del rallentamento", "fine del rallentamento",
     -1, 0, slowdown_fields},
    {tratta::kind_slowdown_start, &tk::slowdown, "la cella nearest(inizio / 50 + 1): 50 m dopo l'inizio del rallentamento",
     "inizio del rallentamento", -1, 0, slowdown_fields},
    {tratta::kind_slowdown_warning, &tk::slowdown,
     "la cella nearest((inizio - 1200) / 50 + 1): 1200 m prima dell'inizio, più i 50 m di ogni oggetto",
     "inizio del rallentamento", -1, 1200, warning_fields},
    {tratta::kind_slowdown_marker, &tk::slowdown,
     "le quattro celle prima del punto di avviso, quando «tabelle di preavviso» non è 0", "", 0, 0, marker_fields},
    {tratta::kind_speed_indicator, &lk::speed_indicator, one_cell_on, "posizione del cartello", -1, 0, indicator_fields},
    {tratta::kind_station_stop, &tk::station,
     "la cella nearest(fine della zona / 50 - 1): la cella prima della fine della zona di stazione",
     "fine della zona di stazione", 1, 0, station_stop_fields},
    {tratta::kind_mountain_marker, &lk::mountain,
     "ogni quarta cella del tratto di montagna, quando il codice è oltre 10; conta come cella libera", "", 0, 0, {}},
    {tratta::kind_code_point, &tk::code_point,
     "la cella nearest(p / 50) della sua posizione p; quelli di valore 180 li aggiunge la compilazione intorno ai "
     "rallentamenti",
     "posizione", 0, 0, code_point_fields},
    {tratta::kind_code_point_plain, &tk::code_point, "la cella nearest(p / 50) di una riga con valore 0 o meno",
     "posizione", 0, 0, {}},
    {tratta::kind_sign_board, &lk::sign_board, one_cell_on, "posizione del cartello", -1, 0, sign_board_fields},
}};

const FieldMeaning track_field_list[] = {
    {"kind", "oggetto", "tipo dell'oggetto che sta nella cella (0 = nessuno)", {nullptr, "dalla riga dell'oggetto"}},
    {"approach", "approccio", "numero di approccio nelle quattro celle pari prima di un segnale o di una fermata",
     {&tk::signal, "({2} × 3 + {7}) × 10 + k nella cella k × 2 prima del segnale (k da 1 a 4); 80 + k prima della "
                   "cella di fermata di una stazione"}},
    {"side", "lato montagna", "lato della montagna lungo il tratto", {&lk::mountain, "{3}; oltre 10: {3} - 10"}},
    {"speed5", "velocità massima", "velocità massima del tratto in unità di 5 km/h",
     {&tk::speed_limit, "{2} / 5, arrotondato, dalla cella nearest({1} / 50) fino alla riga seguente"}},
    {"gradient", "pendenza", "pendenza del tratto più 100: 100 è il piano",
     {&lk::gradient, "{2} + 100, dalla cella nearest({1} / 50) fino alla riga seguente"}},
    {"adhesion", "aderenza", "aderenza del tratto",
     {&tk::adhesion, "{2} (gli 8 bit bassi), dalla cella nearest({1} / 50) fino alla riga seguente"}},
};

const FieldMeaning stamp_list[] = {
    {"value", "timbro", "il timbro 5121 di una compilazione completa", {nullptr, "sempre 5121"}},
    {"value2", "codice di controllo", "il codice di controllo semplice della griglia", {nullptr, "calcolato sulla griglia"}},
};

// --- scenario records ----------------------------------------------------------------

const FieldMeaning station_record_fields[] = {
    {"kind", "tipo", "tipo della stazione", {&tk::station, "{2}"}},
    {"start_m", "inizio della zona", "inizio della zona di stazione, in metri",
     {&tk::station, "{1} - {3} / 2 (tipi da 5 a 8: {1} - {3})"}},
    {"end_m", "fine della zona", "fine della zona di stazione, in metri",
     {&tk::station, "{1} + {3} / 2, più 50 se {6} non è 0 (tipi 5 e 6: {1} + 150; tipi 7 e 8: {1} + {3})"}},
    {"at_m", "posizione", "posizione della stazione, in metri", {&tk::station, "{1}"}},
    {"flag_a", "primo indicatore", "primo indicatore", {&tk::station, "{4}"}},
    {"text", "nome", "nome della stazione", {&tk::station, "{17}"}},
    {"int_a", "primo gruppo, valore 1", "primo valore del primo gruppo", {&tk::station, "{7}"}},
    {"int_b", "primo gruppo, valore 2", "secondo valore del primo gruppo", {&tk::station, "{8}"}},
    {"int_c", "secondo gruppo, valore 1", "primo valore del secondo gruppo", {&tk::station, "{10}"}},
    {"int_d", "secondo gruppo, valore 2", "secondo valore del secondo gruppo", {&tk::station, "{11}"}},
    {"int_e", "secondo gruppo, valore 3", "terzo valore del secondo gruppo", {&tk::station, "{12}"}},
    {"flag_b", "primo gruppo, valore 3", "terzo valore del primo gruppo", {&tk::station, "{9}"}},
    {"flag_c", "quarto indicatore", "quarto indicatore", {&tk::station, "{13}"}},
    {"flag_d", "terzo indicatore", "terzo indicatore: la zona finisce 50 m più avanti",
     {&tk::station, "{6}, azzerato per i tipi da 5 a 8 e sulla prima stazione"}},
    {"flag_e", "secondo indicatore", "secondo indicatore",
     {&tk::station, "{5}, azzerato sotto i 600 m di lunghezza e sulla prima stazione"}},
    {"time_s", "orario", "ora del giorno alla stazione, in secondi dalla mezzanotte",
     {&tk::station, "{14} × 3600 + {15} × 60 + {16}"}},
};
const FieldMeaning board_text_fields[] = {
    {"text", "testo", "testo di un cartello indicatore", {&lk::sign_board, "{2}"}},
};
// The three chainage lines have the same fields; the records hold them ordered by start.
constexpr std::string_view any_chainage = "una delle tre righe «progressiva chilometrica»";
const FieldMeaning chainage_fields[] = {
    {"start_m", "inizio", "posizione del percorso da cui vale la progressiva, in metri",
     {&lk::chainage_uno, "{1}", any_chainage}},
    {"end_m", "scostamento", "scostamento dei chilometri, in metri",
     {&lk::chainage_uno, "{2}, più 100 quando il verso è 1 (chilometri decrescenti)", any_chainage}},
    {"at_m", "verso", "verso: 0 i chilometri crescono lungo il percorso, 1 decrescono",
     {&lk::chainage_uno, "{3}", any_chainage}},
};
const FieldMeaning train_header_fields[] = {
    {"start_m", "massa frenata", "percentuale di massa frenata", {&tk::braked_mass, "{1}"}},
    {"end_m", "lunghezza del percorso", "lunghezza del percorso, in metri", {&lk::route_length, "{1}"}},
    {"at_m", "vetture", "numero delle vetture", {&tk::cars, "{1}"}},
};
const FieldMeaning scenario_header_fields[] = {
    {"start_m", "sfondo uno", "primo codice di sfondo", {&lk::background_uno, "{1}"}},
    {"end_m", "sfondo tre", "terzo codice di sfondo", {&lk::background_tre, "{1}"}},
    {"at_m", "sfondo due", "secondo codice di sfondo", {&lk::background_due, "{1}"}},
    {"text", "scenario", "nome dello scenario",
     {nullptr, "dal nome del file della linea, «<scenario>_linea.txt», o da --scenario"}},
    {"int_a", "timbro", "il timbro 610 di una compilazione completa", {nullptr, "sempre 610"}},
    {"time_s", "codice di controllo", "il codice di controllo pesato dello scenario",
     {nullptr, "calcolato sui record e sulla griglia"}},
};
const FieldMeaning run_header_fields[] = {
    {"start_m", "ripetizione segnali da", "inizio del tratto con ripetizione dei segnali, in metri",
     {&lk::signal_repetition, "{1}"}},
    {"end_m", "ripetizione segnali fino a", "fine del tratto con ripetizione dei segnali, in metri",
     {&lk::signal_repetition, "{2}"}},
    {"at_m", "codici", "numero dei codici della ripetizione: 4 o 9, 0 senza tratto",
     {&lk::signal_repetition, "la cifra 4 o 9 nella chiave; 0 quando {2} è 0"}},
    {"text", "treno", "nome del treno",
     {nullptr, "dal nome del file del treno, «<scenario>_<treno>-.txt», o da --train"}},
    {"int_a", "sabbia", "scorta di sabbia", {&tk::sand, "{1}"}},
    {"int_c", "ore", "ora di partenza", {&tk::clock, "{1}"}},
    {"int_d", "minuti", "minuti della partenza", {&tk::clock, "{2}"}},
    {"int_e", "secondi", "secondi della partenza", {&tk::clock, "{3}"}},
};

const std::array<RoleMeaning, 7> roles{{
    {RecordRole::empty, "vuoto", {}},
    {RecordRole::station, "stazione", station_record_fields},
    {RecordRole::board_text, "testo di cartello", board_text_fields},
    {RecordRole::chainage, "progressiva chilometrica", chainage_fields},
    {RecordRole::train, "treno e percorso", train_header_fields},
    {RecordRole::scenario, "scenario", scenario_header_fields},
    {RecordRole::run, "corsa", run_header_fields},
}};

bool only_text(const tratta::ScenarioRecord& r)
{
    tratta::ScenarioRecord numbers = r;
    numbers.text.clear();
    return numbers == tratta::ScenarioRecord{};
}

} // namespace

const KindMeaning* kind_meaning(uint8_t kind)
{
    for (const KindMeaning& k : kinds)
        if (k.kind == kind)
            return &k;
    return nullptr;
}

std::span<const KindMeaning> kind_meanings() { return kinds; }
std::span<const FieldMeaning> track_fields() { return track_field_list; }
std::span<const FieldMeaning> stamp_cell_fields() { return stamp_list; }

RecordRole record_role(const tratta::ScenarioRecords& records, int index)
{
    using R = tratta::ScenarioRecords;
    if (index < 0 || index >= R::count || records[index] == tratta::ScenarioRecord{})
        return RecordRole::empty;
    switch (index) {
    case R::chainage_last:
    case R::chainage_middle:
    case R::chainage_first: return RecordRole::chainage;
    case R::train_header: return RecordRole::train;
    case R::scenario_header: return RecordRole::scenario;
    case R::run_header: return RecordRole::run;
    default: break;
    }
    if (index == 0)
        return RecordRole::empty;
    // Board texts fill the records from 80 down, with nothing beside their text.
    bool board = true;
    for (int i = R::first_board_slot; i >= index && board; --i)
        board = only_text(records[i]) && !records[i].text.empty();
    return board ? RecordRole::board_text : RecordRole::station;
}

const RoleMeaning& role_meaning(RecordRole role)
{
    for (const RoleMeaning& r : roles)
        if (r.role == role)
            return r;
    return roles.front();
}

std::span<const RoleMeaning> role_meanings() { return roles; }

const FieldMeaning* meaning_of(std::span<const FieldMeaning> fields, std::string_view field)
{
    for (const FieldMeaning& f : fields)
        if (f.field == field)
            return &f;
    return nullptr;
}

std::string origin_words(const FieldOrigin& origin)
{
    std::string words;
    if (!origin.key_words.empty())
        words = std::string(origin.key_words) + ", ";
    else if (origin.key != nullptr)
        words = "«" + std::string(origin.key->key) + "», ";
    const std::string_view rule = origin.rule;
    for (std::size_t i = 0; i < rule.size(); ++i) {
        const std::size_t close = rule[i] == '{' ? rule.find('}', i) : std::string_view::npos;
        if (close == std::string_view::npos || origin.key == nullptr) {
            words += rule[i];
            continue;
        }
        std::size_t n = 0;
        for (std::size_t k = i + 1; k < close; ++k)
            n = n * 10 + static_cast<std::size_t>(rule[k] - '0');
        if (n >= 1 && n <= origin.key->fields.size())
            words += "«" + std::string(origin.key->fields[n - 1].name) + "» (campo " + std::to_string(n) + ")";
        else
            words += "campo " + std::to_string(n);
        i = close;
    }
    return words;
}

} // namespace autore

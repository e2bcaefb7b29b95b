#include "model/error_meanings.hpp"

namespace tratta {

namespace {

using E = ErrorNumber;

struct Meaning {
    ErrorNumber code;
    std::string_view text;
};

constexpr Meaning meanings[] = {
    {E::route_length, "lunghezza del percorso fuori dai limiti (da 0 a 1000000 m)"},
    {E::chainage_off_grid, "progressiva chilometrica con inizio o scostamento non multiplo di 50 m"},
    {E::repetition_start, "inizio della ripetizione segnali non multiplo di 50 m"},
    {E::repetition_end, "fine della ripetizione segnali non multipla di 50 m"},
    {E::repetition_codes, "ripetizione segnali senza il numero dei codici (4 o 9) nella chiave"},
    {E::board_on_taken_cell, "cartello indicatore su una cella occupata"},
    {E::cut_point_on_taken_cell, "punto di abbattimento su una cella occupata"},
    {E::station_off_grid, "posizione della stazione non multipla di 50 m"},
    {E::station_length, "lunghezza della stazione non multipla di 100 m"},
    {E::too_many_stations, "troppe stazioni: nessun record libero prima dei testi dei cartelli"},
    {E::no_cell_before_warning, "nessuna cella libera per il codice davanti a un segnale prima di un avviso di rallentamento"},
    {E::no_cell_before_slowdown, "nessuna cella libera per un codice prima dell'inizio di un rallentamento"},
    {E::no_cell_in_slowdown, "nessuna cella libera per un codice dentro un rallentamento o davanti al segnale che lo segue"},
    {E::beyond_grid, "posizione oltre la fine della griglia del percorso o prima del suo inizio"},
    {E::signal_on_taken_cell, "segnale su una cella occupata"},
    {E::warning_on_taken_cell, "punto di avviso del rallentamento su una cella occupata"},
    {E::slowdown_start_on_taken_cell, "inizio del rallentamento su una cella occupata"},
    {E::slowdown_end_on_taken_cell, "fine del rallentamento su una cella occupata"},
    {E::slowdown_boards_on_taken_cells, "tabelle di preavviso del rallentamento su celle occupate"},
    {E::indicator_on_taken_cell, "indicatore di velocità su una cella occupata"},
    {E::stations_too_close, "stazione che inizia a meno di 350 m dalla fine della precedente"},
    {E::stop_cell_at_start, "cella di fermata della stazione all'inizio della griglia (indice 1 o meno)"},
    {E::read_failure, "errore di lettura: file finito dentro una riga, numero fuori dai limiti del campo "
         "o file illeggibile"},
    {E::slowdown_end_outside, "fine del rallentamento fuori dalla griglia del percorso"},
    {E::stop_cell_beyond_grid, "cella di fermata della stazione oltre la fine della griglia"},
    {E::too_many_boards, "troppi cartelli indicatori: nessun record libero per il testo"},
    {E::line_file_missing, "file della linea mancante"},
    {E::general_section_missing, "sezione [generale] mancante nel file della linea"},
    {E::curve_refused, "curva oltre 1000000 m o chiave di curva senza classe da 1 a 6"},
    {E::stamp_taken, "campo riservato al timbro già occupato"},
    {E::check_code_taken, "campo riservato al codice di controllo già occupato"},
};

} // namespace

std::string_view error_meaning(int32_t code)
{
    for (const auto& m : meanings)
        if (is(code, m.code))
            return m.text;
    return "errore sconosciuto";
}

} // namespace tratta

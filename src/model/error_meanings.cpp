#include "model/error_meanings.hpp"

namespace tratta {

namespace {

struct Meaning {
    int32_t code;
    std::string_view text;
};

constexpr Meaning meanings[] = {
    {1, "lunghezza del percorso fuori dai limiti (da 0 a 1000000 m)"},
    {2, "progressiva chilometrica con inizio o scostamento non multiplo di 50 m"},
    {3, "inizio della ripetizione segnali non multiplo di 50 m"},
    {4, "fine della ripetizione segnali non multipla di 50 m"},
    {5, "ripetizione segnali senza il numero dei codici (4 o 9) nella chiave"},
    {6, "cartello indicatore su una cella occupata"},
    {7, "punto di abbattimento su una cella occupata"},
    {8, "posizione della stazione non multipla di 50 m"},
    {9, "lunghezza della stazione non multipla di 100 m"},
    {10, "troppe stazioni: nessun record libero prima dei testi dei cartelli"},
    {11, "nessuna cella libera per il codice davanti a un segnale prima di un avviso di rallentamento"},
    {12, "nessuna cella libera per un codice prima dell'inizio di un rallentamento"},
    {13, "nessuna cella libera per un codice dentro un rallentamento o davanti al segnale che lo segue"},
    {15, "posizione oltre la fine della griglia del percorso o prima del suo inizio"},
    {16, "segnale su una cella occupata"},
    {17, "punto di avviso del rallentamento su una cella occupata"},
    {18, "inizio del rallentamento su una cella occupata"},
    {19, "fine del rallentamento su una cella occupata"},
    {20, "tabelle di preavviso del rallentamento su celle occupate"},
    {21, "indicatore di velocità su una cella occupata"},
    {22, "stazione che inizia a meno di 350 m dalla fine della precedente"},
    {24, "cella di fermata della stazione all'inizio della griglia (indice 1 o meno)"},
    {25, "errore di lettura: file finito dentro una riga, numero fuori dai limiti del campo "
         "o file illeggibile"},
    {26, "fine del rallentamento fuori dalla griglia del percorso"},
    {27, "cella di fermata della stazione oltre la fine della griglia"},
    {28, "troppi cartelli indicatori: nessun record libero per il testo"},
    {101, "file della linea mancante"},
    {102, "sezione [generale] mancante nel file della linea"},
    {103, "curva oltre 1000000 m o chiave di curva senza classe da 1 a 6"},
    {1250, "campo riservato al timbro già occupato"},
    {1251, "campo riservato al codice di controllo già occupato"},
};

} // namespace

std::string_view error_meaning(int32_t code)
{
    for (const auto& m : meanings)
        if (m.code == code)
            return m.text;
    return "errore sconosciuto";
}

} // namespace tratta

// The slowdown order handed to the driver: form M. 3 listing the two temporary
// slowdowns of the run, one table row each, and the key to the prescription letters.
#include "scenario/data_set.hpp"

namespace tratta {

namespace {
// clang-format off
constexpr std::string_view lines[] = {
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  Portaurea C.le-Sarmenta C.le",
    "",
    "  Si ordina al macchinista del treno TR000 di effettuare i seguenti rallentamenti",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    " | 1 |Ponte Albaro e Acquaserena  |   212000   |    80    |   700   |     D      |",
    " | 2 |Ponte Albaro e Acquaserena  |   212000   |    60    |  1400   |     D      |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
    end_marker,
};
// clang-format on
} // namespace

DataSet rallentamenti_data() { return lines; }

} // namespace tratta

#include "autore/diagnostics/rule_summaries.hpp"

#include "model/error_meanings.hpp"

#include <charconv>

namespace autore {

namespace {

constexpr RuleSummary rules[] = {
    {"numero-malformato", "un numero scritto con lettere, o senza cifre all'inizio, letto come un altro"},
    {"numero-con-decimali", "un numero con decimali, arrotondato all'intero"},
    {"separatore-migliaia", "un punto usato per le migliaia: 334.000 si legge 334"},
    {"campo-vuoto", "un campo numerico vuoto, letto come 0"},
    {"valore-implausibile", "un valore che nessuna ferrovia ha (vetture, massa frenata, pendenza)"},
    {"ora-non-valida", "un'ora oltre 23, minuti o secondi oltre 59"},
    {"velocita-implausibile", "un limite di velocità oltre 350 km/h"},
    {"velocita-arrotondata", "un limite di velocità che non è multiplo di 5 km/h"},
    {"valore-troncato", "un valore di cui il simulatore tiene solo i bit bassi"},
    {"cifra-non-valida", "una cifra di un segnale fuori da 0 .. 9"},
    {"lunghezza-non-positiva", "una curva o un rallentamento di lunghezza 0 o negativa"},
    {"chiave-sconosciuta", "una chiave che non è di nessuna riga: la riga è ignorata"},
    {"chiave-fuori-sezione", "una chiave della sezione generale nel corpo del file della linea, o viceversa"},
    {"chiave-ambigua", "una chiave che contiene le parole di due righe diverse"},
    {"campo-in-piu", "un campo dopo i valori della riga, letto come chiave e ignorato"},
    {"valori-dalla-riga-dopo", "una riga con meno campi del dovuto, che li prende dalla riga seguente"},
    {"fuori-ordine", "righe dello stesso tipo non in ordine di posizione"},
    {"curve-sovrapposte", "una curva che comincia prima della fine della precedente"},
    {"curva-senza-effetto", "una curva che finisce prima della fine di una precedente: non cambia la pianta"},
    {"montagne-sovrapposte", "una montagna che comincia prima della fine della precedente"},
    {"montagne-vicine", "una montagna a 150 m o meno dalla precedente: prende il lato 3"},
    {"cartello-velocita-discorde", "un indicatore di velocità che non mostra il limite del treno da lì in poi"},
    {"stazione-oltre-la-fine", "una stazione oltre la fine del percorso"},
    {"file-troncato", "un file che non finisce con [fine]"},
    {"codifica-utf8", "un file salvato in UTF-8 invece che in Windows-1252"},
    {"cartello-sotto-stazione", "un cartello nella cella di fermata di una stazione: la stazione lo cancella"},
    {"testo-troppo-lungo", "un nome o un testo oltre 65535 byte: la compilazione non scrive nessun file"},
    {"orario-non-rispettabile", "una tratta più breve del tempo minimo di percorrenza"},
    {"orario-non-crescente", "un orario non successivo a quello della stazione prima"},
    {"orario-non-valido", "un orario che non è un'ora del giorno"},
    {"stazione-fuori-ordine", "una stazione non più avanti lungo la linea di quella prima"},
    {"limite-nullo", "un tratto del percorso con limite di 0 km/h"},
    {"frenatura-mancante", "nessuna percentuale di massa frenata, quindi nessuna frenatura"},
    {"orario-insufficiente", "meno di due stazioni con orario"},
};

} // namespace

std::span<const RuleSummary> warning_rules() { return rules; }

std::string_view rule_summary(std::string_view code)
{
    int number = 0;
    const auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), number);
    if (ec == std::errc() && end == code.data() + code.size())
        return tratta::error_meaning(number);
    for (const RuleSummary& r : rules)
        if (r.code == code)
            return r.summary;
    return "";
}

} // namespace autore

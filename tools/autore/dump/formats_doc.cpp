#include "autore/dump/formats_doc.hpp"

#include "autore/dump/field_meanings.hpp"
#include "autore/route/table_fields.hpp"
#include "model/file_layouts.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <string_view>

namespace autore {

namespace {

// A table cell: "|" would end it, a line break would end the row.
std::string cell(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '|')
            out += "\\|";
        else if (c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out.empty() ? "-" : out;
}

std::string row(std::initializer_list<std::string> cells)
{
    std::string line = "|";
    for (const auto& c : cells)
        line += " " + c + " |";
    return line + "\n";
}

std::string code(std::string_view text) { return "`" + std::string(text) + "`"; }

void key_section(const tratta::KeySpec& k, std::string& md)
{
    md += "#### " + code(k.key) + ": " + std::string(k.meaning) + "\n\n";
    md += "Sezione " + code(k.section) + "; righe: " + std::string(k.lines) + ". Esempio:\n\n";
    md += "```\n" + std::string(k.example) + "\n```\n\n";
    md += row({"#", "campo", "larghezza", "unità", "valori", "se vuoto", "significato", "nei file binari"});
    md += "|---|---|---|---|---|---|---|---|\n";
    for (std::size_t i = 0; i < k.fields.size(); ++i) {
        const tratta::FieldSpec& f = k.fields[i];
        md += row({std::to_string(i + 1), cell(f.name), cell(tratta::width_name(f.width)), cell(f.unit), cell(f.range),
                   cell(f.if_empty), cell(f.meaning), cell(f.becomes)});
    }
    md += "\n";
}

void keys_section(std::span<const tratta::KeySpec* const> keys, std::string& md)
{
    md += "| chiave | sezione | significato |\n|---|---|---|\n";
    for (const tratta::KeySpec* k : keys)
        md += row({code(k->key), code(k->section), cell(k->meaning)});
    md += "\n";
    for (const tratta::KeySpec* k : keys)
        key_section(*k, md);
}

template <std::size_t N>
void layout_table(const std::array<tratta::LayoutField, N>& layout, std::string& md)
{
    md += "| offset | byte | campo | significato |\n|---|---|---|---|\n";
    for (const auto& f : layout) {
        const std::string offset = std::to_string(f.offset) + (f.after_text ? " + n" : "");
        const std::string width = f.width == 0 ? "2 + n" : std::to_string(f.width);
        md += row({offset, width, code(f.name), cell(f.meaning)});
    }
    md += "\n";
}

void meanings_table(std::span<const FieldMeaning> fields, std::string& md)
{
    md += "| campo | significato | dalla sorgente |\n|---|---|---|\n";
    for (const FieldMeaning& m : fields)
        md += row({code(m.field), cell(m.meaning), cell(origin_words(m.origin))});
    md += "\n";
}

void line_file(std::string& md)
{
    md += "## Il file della linea, `<scenario>_linea.txt`\n\n";
    md += "La linea su cui corre il treno: la lunghezza del percorso, le progressive chilometriche, gli sfondi, il "
          "tratto con ripetizione dei segnali, le curve, le pendenze, i fianchi di montagna, i cartelli indicatori "
          "di velocità e i cartelli con un testo. Il file comincia con la sezione `[generale]`; tutto ciò che segue "
          "la prima intestazione dopo di essa è il corpo, dove le intestazioni non contano: conta solo l'ordine "
          "delle righe dello stesso tipo (le pendenze e le curve in ordine di posizione). L'ultima riga è `[fine]`.\n\n";
    md += "La chiave si riconosce dalle parole che contiene: nella sezione generale «lunghezza» e «percorso» "
          "(maiuscole indifferenti), «progressiva» con «uno», «due» o «tre», «sfondo» con «uno», «due» o «tre», "
          "«segnali» e «ripetizione» (con 4 o 9 nella chiave), scritte minuscole; nel corpo, maiuscole "
          "indifferenti, «pendenza», «curva» (con il lato «s» o «d» e la classe da 1 a 6, per esempio `curvad3`), "
          "«montagna», «indicatori_v» e, insieme, «indicat» e «cartello». Per questo le intestazioni del corpo "
          "sono plurali che non contengono nessuna chiave (`[curve]`, `[pendenze]`, `[montagne]`, `[cartelli]`, "
          "`[indicazioni]`).\n\n";
    md += "### Sezione generale\n\n";
    keys_section(tratta::line_keys::general(), md);
    md += "### Corpo\n\n";
    keys_section(tratta::line_keys::body(), md);
}

void train_file(std::string& md)
{
    md += "## Il file del treno, `<scenario>_<treno>-.txt`\n\n";
    md += "La corsa del treno sulla linea: la composizione e l'ora di partenza, i profili di aderenza e di velocità "
          "massima, le stazioni, i rallentamenti, i segnali e i punti di abbattimento del codice. Tutto ciò che "
          "precede `[generale]` non si legge; il file finisce con `[fine]`. Le sezioni servono solo a chi legge: "
          "una chiave si riconosce dalla parola che contiene, maiuscole indifferenti, provate in quest'ordine su "
          "ogni chiave: «frenata» con «massa», «vetture», «velocit», «aderenza», «orologio», «sabbia», «segnale», "
          "«rallentamento», «abbattimento», «stazione». Per questo le intestazioni sono plurali (`[stazioni]` non "
          "contiene «stazione»). Un campo che contiene «-» in luogo di una chiave è un commento.\n\n";
    keys_section(tratta::train_keys::all(), md);
}

void records_file(std::string& md)
{
    md += "### `<scenario>_<treno>.sim`: i record dello scenario\n\n";
    md += "87 record (0 a 86) uno dopo l'altro, senza intestazione. Ogni record ha gli stessi 16 campi; il testo è "
          "lungo n byte (Windows-1252, senza terminatore), quindi un record è lungo 34 + n byte e i campi dopo il "
          "testo si spostano di n. Il record 0 resta vuoto; le stazioni occupano i record dall'1 in su, nell'ordine "
          "del file del treno; i testi dei cartelli quelli dall'80 in giù; i record 81 a 86 sono l'intestazione.\n\n";
    layout_table(tratta::record_layout, md);
    md += "Che cosa tiene ogni campo, per tipo di record:\n\n";
    for (const RoleMeaning& r : role_meanings()) {
        if (r.fields.empty())
            continue;
        md += "#### " + std::string(r.name) + "\n\n";
        meanings_table(r.fields, md);
    }
}

void grid_file(std::string& md)
{
    md += "### `<scenario>_<treno>.dat`: la griglia del percorso\n\n";
    md += "Una cella di 15 byte ogni 50 m, dalla cella 0 alla cella N, la più vicina a (lunghezza + 7000) / 50: "
          "la cella i sta a i × 50 m dall'origine del percorso. Il file è lungo 15 × (N + 1) byte e non tiene "
          "altro. In ogni cella sta al più un oggetto, dato da `kind`, con i suoi quattro valori; gli altri campi "
          "dicono il tratto di binario della cella.\n\n";
    layout_table(tratta::cell_layout, md);
    md += "Gli oggetti e che cosa tengono i loro valori:\n\n";
    md += "| kind | oggetto | dalla riga | cella |\n|---|---|---|---|\n";
    for (const KindMeaning& k : kind_meanings())
        md += row({std::to_string(k.kind), cell(kind_name(k.kind)), k.key != nullptr ? code(k.key->key) : "-",
                   cell(k.placement)});
    md += "\n";
    for (const KindMeaning& k : kind_meanings()) {
        if (k.fields.empty())
            continue;
        md += "#### " + std::string(kind_name(k.kind)) + " (`kind` " + std::to_string(k.kind) + ")\n\n";
        meanings_table(k.fields, md);
    }
    md += "#### Il tratto, in ogni cella\n\n";
    meanings_table(track_fields(), md);
    md += "#### La cella " + std::to_string(stamp_cell) + "\n\n";
    meanings_table(stamp_cell_fields(), md);
}

void line_table_file(std::string& md)
{
    md += "### `<scenario>_linea.dat`: la tabella della linea\n\n";
    md += "La pianta del binario metro per metro, da 0 a G = lunghezza + 7000: prima tutte le x, dal metro 0 al "
          "metro G, poi tutte le y. Nessuna intestazione né conteggio. Ogni elemento comincia con 2 byte che ne "
          "dicono il tipo:\n\n";
    md += "| tipo | byte | dopo il tipo | metri |\n|---|---|---|---|\n";
    for (const tratta::ElementLayout& e : tratta::line_element_layout)
        md += row({std::to_string(static_cast<int>(e.tag)), std::to_string(e.bytes), cell(e.value), cell(e.meaning)});
    md += "\nCosì il file è lungo 2 × (12 + 10 × (lunghezza + 6997)) byte. Senza tabella (`autore compile "
          "--no-line-table`) il file non si scrive.\n\n";
}

} // namespace

std::string formats_markdown()
{
    std::string md = "# I formati dei file di uno scenario\n\n";
    md += "Un autore scrive due file di testo, il file della linea e il file del treno; la compilazione (il "
          "programma, o `autore compile`) ne fa i tre file binari che il simulatore carica. Questa pagina li "
          "descrive tutti e cinque, campo per campo.\n\n";
    md += "Le tabelle sono scritte dal programma stesso, dalle liste da cui leggono i lettori delle sorgenti, "
          "scrivono i file binari e legge `autore dump`: per rifarle, `./build/tools/autore formats > "
          "docs/formats.md`. Un test confronta questa pagina con quelle liste.\n\n";
    md += "## Regole comuni ai file di testo\n\n";
    md += "- Testo Windows-1252, ogni riga chiusa da CR LF (si accettano anche LF e CR da soli).\n"
          "- Una riga è una chiave seguita dai suoi campi, separati da virgole. Gli spazi prima di un campo non "
          "contano; un numero finisce a uno spazio, a una virgola o a fine riga, così che anche gli spazi "
          "separano i numeri (`orologio,    19   35   20`).\n"
          "- I numeri sono interi: un numero con la parte decimale si arrotonda al più vicino, la metà al pari "
          "(`2.5` dà 2); un campo vuoto o che non comincia con un numero vale 0. Un numero che non sta nella "
          "larghezza del suo campo ferma la lettura (errore 25).\n"
          "- Un testo (una chiave, un nome, il testo di un cartello) va fino alla virgola o alla fine della riga; "
          "un testo tra virgolette può contenere virgole.\n"
          "- Le posizioni sono metri lungo il percorso dalla sua origine (0). Un oggetto che sta in un punto (un "
          "segnale, un cartello, un indicatore, un rallentamento) va nella cella della griglia "
          "nearest(posizione / 50 + 1): 50 m dopo la sua posizione. nearest è l'intero più vicino, la metà al "
          "pari.\n\n";
    line_file(md);
    train_file(md);
    md += "## I file binari\n\n";
    md += "Numeri little-endian, un campo dopo l'altro senza nulla in mezzo.\n\n";
    records_file(md);
    grid_file(md);
    line_table_file(md);
    return md;
}

} // namespace autore

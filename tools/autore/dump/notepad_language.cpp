#include "autore/dump/editor_files.hpp"

#include "autore/route/svg_writer.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

namespace autore {

namespace {

// Notepad++ matches a keyword as the start of a word when its list is a list
// of prefixes: "curva" then colours "curvad3". A digit in the template's key
// stands for any digit ("ripetizione segnali 4 codici"), so the key is cut
// before it. A key of several words is written between double quotes.
std::string keyword(std::string_view key)
{
    const auto digit = key.find_first_of("0123456789");
    std::string_view word = key.substr(0, digit);
    while (!word.empty() && word.back() == ' ')
        word.remove_suffix(1);
    const std::string text(word);
    return word.find(' ') == std::string_view::npos ? text : "\"" + text + "\"";
}

std::string keywords(std::initializer_list<std::span<const tratta::KeySpec* const>> lists)
{
    std::string out;
    for (const auto& list : lists)
        for (const tratta::KeySpec* k : list)
            out += (out.empty() ? "" : " ") + keyword(k->key);
    return out;
}

std::string keyword_list(std::string_view name, std::string_view words)
{
    return "            <Keywords name=\"" + std::string(name) + "\">" + xml_escaped(words) + "</Keywords>\n";
}

std::string style(std::string_view name, std::string_view colour, int font_style)
{
    return "            <WordsStyle name=\"" + std::string(name) + "\" fgColor=\"" + std::string(colour) +
           "\" bgColor=\"FFFFFF\" fontName=\"\" fontStyle=\"" + std::to_string(font_style) + "\" nesting=\"0\" />\n";
}

} // namespace

std::string notepad_language()
{
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
    x += "<!-- Scenario del simulatore: il file della linea (*_linea.txt) e il file del treno (*-.txt).\n"
         "     Scritto dalle tabelle delle chiavi del programma (autore formats, editor notepad++). -->\n";
    x += "<NotepadPlus>\n";
    x += "    <UserLang name=\"Scenario (autore)\" ext=\"\" udlVersion=\"2.1\">\n";
    x += "        <Settings>\n";
    x += "            <Global caseIgnored=\"yes\" allowFoldOfComments=\"no\" foldCompact=\"no\" forcePureLC=\"0\" "
         "decimalSeparator=\"1\" />\n";
    x += "            <Prefix Keywords1=\"yes\" Keywords2=\"yes\" Keywords3=\"yes\" Keywords4=\"no\" Keywords5=\"no\" "
         "Keywords6=\"no\" Keywords7=\"no\" Keywords8=\"no\" />\n";
    x += "        </Settings>\n";
    x += "        <KeywordLists>\n";
    x += keyword_list("Comments", "00 01 02 03 04");
    for (const char* n : {"Numbers, prefix1", "Numbers, prefix2", "Numbers, extras1", "Numbers, extras2",
                          "Numbers, suffix1", "Numbers, suffix2", "Numbers, range"})
        x += keyword_list(n, "");
    x += keyword_list("Operators1", ",");
    x += keyword_list("Operators2", "");
    for (const char* n : {"Folders in code1, open", "Folders in code1, middle", "Folders in code1, close",
                          "Folders in code2, open", "Folders in code2, middle", "Folders in code2, close",
                          "Folders in comment, open", "Folders in comment, middle", "Folders in comment, close"})
        x += keyword_list(n, "");
    // The general keys of the line file, its body keys, the train file's keys.
    x += keyword_list("Keywords1", keywords({tratta::line_keys::general()}));
    x += keyword_list("Keywords2", keywords({tratta::line_keys::body()}));
    x += keyword_list("Keywords3", keywords({tratta::train_keys::all()}));
    for (const char* n : {"Keywords4", "Keywords5", "Keywords6", "Keywords7", "Keywords8"})
        x += keyword_list(n, "");
    // A section header between brackets; a text between double quotes (a
    // station name with a comma in it).
    x += keyword_list("Delimiters", "00[ 01 02] 03\" 04 05\" 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23");
    x += "        </KeywordLists>\n";
    x += "        <Styles>\n";
    x += style("DEFAULT", "000000", 0);
    x += style("COMMENTS", "808080", 0);
    x += style("LINE COMMENTS", "808080", 0);
    x += style("NUMBERS", "A03000", 0);
    x += style("KEYWORDS1", "0000C0", 1);
    x += style("KEYWORDS2", "0000C0", 1);
    x += style("KEYWORDS3", "0000C0", 1);
    for (const char* n : {"KEYWORDS4", "KEYWORDS5", "KEYWORDS6", "KEYWORDS7", "KEYWORDS8"})
        x += style(n, "000000", 0);
    x += style("OPERATORS", "808080", 0);
    for (const char* n : {"FOLDER IN CODE1", "FOLDER IN CODE2", "FOLDER IN COMMENT"})
        x += style(n, "000000", 0);
    x += style("DELIMITERS1", "800080", 1);
    x += style("DELIMITERS2", "008000", 0);
    for (const char* n : {"DELIMITERS3", "DELIMITERS4", "DELIMITERS5", "DELIMITERS6", "DELIMITERS7", "DELIMITERS8"})
        x += style(n, "000000", 0);
    x += "        </Styles>\n";
    x += "    </UserLang>\n";
    x += "</NotepadPlus>\n";
    return x;
}

} // namespace autore

// The help texts and the manual page, in Italian, made from the subcommands'
// declarations.
#include "autore/command_line/command_line.hpp"

#include "autore/command_line/argument_checks.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

namespace autore {

namespace {

constexpr std::size_t line_width = 100;
constexpr std::size_t widest_label = 30;

// Characters, not bytes: the texts are UTF-8.
std::size_t shown_width(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The text broken into lines of at most `width` characters between words,
// every line after the first indented by `indent` blanks.
std::string wrapped(const std::string& text, std::size_t indent, std::size_t width)
{
    std::istringstream words(text);
    std::string word;
    std::string out;
    std::size_t used = 0;
    while (words >> word) {
        const std::size_t w = shown_width(word);
        if (used > 0 && used + 1 + w > width) {
            out += '\n' + std::string(indent, ' ');
            used = 0;
        } else if (used > 0) {
            out += ' ';
            ++used;
        }
        out += word;
        used += w;
    }
    return out;
}

struct Row {
    std::string label;
    std::string text;
};

std::string table(const std::vector<Row>& rows)
{
    std::size_t column = 0;
    for (const Row& r : rows)
        column = std::max(column, std::min(shown_width(r.label), widest_label));
    column += 4;
    std::string out;
    for (const Row& r : rows) {
        std::string line = "  " + r.label;
        if (shown_width(r.label) + 2 > column - 2)
            line += '\n' + std::string(column, ' ');
        else
            line += std::string(column - 2 - shown_width(r.label), ' ');
        out += line + wrapped(r.text, column, line_width - column) + '\n';
    }
    return out;
}

std::string option_label(const ArgumentInfo& info)
{
    std::string label = joined(info.names, ", ");
    if (!info.value_name.empty())
        label += ' ' + info.value_name;
    return label;
}

std::string positional_usage(const ArgumentInfo& info)
{
    const std::string name = info.names.front() + (info.max_count > 1 ? "..." : "");
    return info.required ? name : "[" + name + "]";
}

std::string positional_text(const ArgumentInfo& info)
{
    std::string text = info.description;
    if (info.max_count > 1)
        text += info.min_count == info.max_count
                    ? " (" + std::to_string(info.min_count) + ")"
                    : " (da " + std::to_string(info.min_count) + " a " + std::to_string(info.max_count) + ")";
    if (!info.required)
        text += " (facoltativo)";
    return text;
}

std::string paragraph(const std::string& text) { return wrapped(text, 0, line_width) + '\n'; }

// "autore compile FILE_LINEA FILE_TRENO [OPZIONI]": what must be typed, and
// where the options go.
std::string usage_words(const std::string& tool, const Command& command)
{
    std::string usage = tool + " " + command.name();
    for (const ArgumentInfo& info : command.arguments_info()) {
        if (info.positional)
            usage += ' ' + positional_usage(info);
        else if (info.option->get_required())
            usage += ' ' + info.names.front() + ' ' + info.value_name;
    }
    return usage + " [OPZIONI]";
}

std::string option_text(const ArgumentInfo& info)
{
    return info.description + (info.option->get_required() ? " (obbligatoria)" : "");
}

const Row help_option{"-h, --help", "mostra questo aiuto"};
const Row version_option{"-V, --version", "mostra la versione"};

// Text as roff shows it: a backslash as itself, every hyphen a real one (so
// that "--force" can be searched and copied), and no line taken for a request.
std::string roff(const std::string& text)
{
    std::string out;
    bool line_start = true;
    for (char c : text) {
        if (line_start && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        line_start = c == '\n';
    }
    return out;
}

std::string man_rows(const std::vector<Row>& rows)
{
    std::string out;
    for (const Row& r : rows)
        out += ".TP\n.B " + roff(r.label) + "\n" + roff(r.text) + "\n";
    return out;
}

} // namespace

std::string CommandLine::help() const
{
    std::string out = paragraph(name_ + " " + version_ + ": " + summary_) + '\n';
    out += "Uso: " + name_ + " SOTTOCOMANDO [ARGOMENTI] [OPZIONI]\n";
    out += "     " + name_ + " help [SOTTOCOMANDO]\n\nSottocomandi:\n";
    std::vector<Row> rows;
    for (const Command* c : commands())
        rows.push_back({c->name(), c->summary()});
    out += table(rows);
    out += "\nOpzioni:\n";
    out += table({help_option, version_option});
    if (!footer_.empty())
        out += '\n' + paragraph(footer_);
    return out;
}

std::string CommandLine::help(const Command& command) const
{
    std::string out = paragraph(name_ + " " + command.name() + ": " + command.summary()) + '\n';
    std::vector<Row> positionals;
    std::vector<Row> options;
    for (const ArgumentInfo& info : command.arguments_info()) {
        if (info.positional)
            positionals.push_back({info.names.front(), positional_text(info)});
        else
            options.push_back({option_label(info), option_text(info)});
    }
    options.push_back(help_option);
    out += wrapped("Uso: " + usage_words(name_, command), 4, line_width) + "\n";
    if (!positionals.empty())
        out += "\nArgomenti:\n" + table(positionals);
    out += "\nOpzioni:\n" + table(options);
    if (!command.footer().empty())
        out += '\n' + paragraph(command.footer());
    return out;
}

std::string CommandLine::man_page(const std::string& date) const
{
    std::string upper;
    for (char c : name_)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    std::string out = ".TH " + upper + " 1 " + date + " \"" + roff(name_ + " " + version_) + "\" \"Comandi generali\"\n";
    out += ".SH NOME\n" + roff(name_ + " - " + summary_) + "\n";
    out += ".SH SINOSSI\n.B " + roff(name_) + "\n.I SOTTOCOMANDO\n[ARGOMENTI] [OPZIONI]\n.br\n.B " + roff(name_) +
           " help\n[SOTTOCOMANDO]\n";
    out += ".SH SOTTOCOMANDI\n";
    for (const Command* c : commands()) {
        out += ".SS \"" + roff(usage_words(name_, *c)) + "\"\n" + roff(c->summary()) + ".\n";
        std::vector<Row> rows;
        for (const ArgumentInfo& info : c->arguments_info())
            rows.push_back(info.positional ? Row{info.names.front(), positional_text(info)}
                                           : Row{option_label(info), option_text(info)});
        rows.push_back(help_option);
        out += man_rows(rows);
        if (!c->footer().empty())
            out += ".PP\n" + roff(c->footer()) + "\n";
    }
    out += ".SH OPZIONI\n" + man_rows({help_option, version_option});
    if (!footer_.empty())
        out += ".SH \"STATO D'USCITA\"\n" + roff(footer_) + "\n";
    return out;
}

} // namespace autore

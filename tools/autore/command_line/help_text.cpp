// The help texts, in Italian, made from the subcommands' declarations.
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
    out += table({{"-h, --help", "mostra questo aiuto"}, {"-V, --version", "mostra la versione"}});
    if (!footer_.empty())
        out += '\n' + paragraph(footer_);
    return out;
}

std::string CommandLine::help(const Command& command) const
{
    std::string out = paragraph(name_ + " " + command.name() + ": " + command.summary()) + '\n';
    std::string usage = "Uso: " + name_ + " " + command.name();
    std::vector<Row> positionals;
    std::vector<Row> options;
    for (const ArgumentInfo& info : command.arguments_info()) {
        if (info.positional) {
            usage += ' ' + positional_usage(info);
            positionals.push_back({info.names.front(), positional_text(info)});
            continue;
        }
        const bool required = info.option->get_required();
        if (required)
            usage += ' ' + info.names.front() + ' ' + info.value_name;
        options.push_back({option_label(info), info.description + (required ? " (obbligatoria)" : "")});
    }
    options.push_back({"-h, --help", "mostra questo aiuto"});
    usage += " [OPZIONI]";
    out += wrapped(usage, 4, line_width) + "\n";
    if (!positionals.empty())
        out += "\nArgomenti:\n" + table(positionals);
    out += "\nOpzioni:\n" + table(options);
    if (!command.footer().empty())
        out += '\n' + paragraph(command.footer());
    return out;
}

} // namespace autore

#include "autore/command_line/parse_errors.hpp"

#include "autore/command_line/argument_checks.hpp"
#include "autore/command_line/command_line.hpp"
#include "autore/command_line/nearest_name.hpp"

#include <CLI/CLI.hpp>

namespace autore {

namespace {

// "«-o/--output»" for an option, "LINEFILE" for a positional argument.
std::string shown_name(const ArgumentInfo& info)
{
    if (info.positional)
        return info.names.front();
    return in_quotes(joined(info.names, "/"));
}

std::string values_word(int n) { return n == 1 ? "un valore" : std::to_string(n) + " valori"; }

// The parser names the argument it refuses at the start of its message,
// "--step: ..."; that name leads back to the declaration.
const ArgumentInfo* named_in(const std::string& message, const Command& command, std::string* rest = nullptr)
{
    const auto colon = message.find(": ");
    if (colon == std::string::npos)
        return nullptr;
    const std::string name = message.substr(0, colon);
    for (const ArgumentInfo& info : command.arguments_info())
        if (info.option->get_name() == name || info.option->get_name(true) == name) {
            if (rest != nullptr)
                *rest = message.substr(colon + 2);
            return &info;
        }
    return nullptr;
}

std::string positionals_wanted(const Command& command)
{
    std::string names;
    for (const ArgumentInfo& info : command.arguments_info())
        if (info.positional)
            names += (names.empty() ? "" : " ") + info.names.front() + (info.max_count > 1 ? "..." : "");
    return names;
}

std::string missing(const Command& command)
{
    for (const ArgumentInfo& info : command.arguments_info())
        if (info.option->get_required() && info.option->count() == 0)
            return "manca " + (info.positional ? info.names.front() : "l'opzione " + shown_name(info)) + " (" +
                   info.description + ")";
    return "manca un argomento";
}

std::string extra(Command& command)
{
    const std::vector<std::string> left = command.app().remaining();
    if (left.empty())
        return "un argomento in più";
    const std::string& word = left.front();
    if (word.size() > 1 && word[0] == '-') {
        std::vector<std::string> names;
        for (const ArgumentInfo& info : command.arguments_info())
            if (!info.positional)
                names.insert(names.end(), info.names.begin(), info.names.end());
        names.push_back("--help");
        return "opzione " + in_quotes(word) + " sconosciuta per «autore " + command.name() + "»; forse " +
               in_quotes(nearest_name(word, names)) + "?";
    }
    const std::string wanted = positionals_wanted(command);
    return "argomento " + in_quotes(word) + " in più: «autore " + command.name() + "» " +
           (wanted.empty() ? std::string("non vuole argomenti") : "vuole " + wanted);
}

std::string count_mismatch(const CLI::ParseError& e, const Command& command)
{
    const ArgumentInfo* info = named_in(e.what(), command);
    if (info == nullptr)
        return "numero di valori sbagliato";
    const int given = static_cast<int>(info->option->results().size());
    if (info->positional)
        return given > info->max_count ? "troppi argomenti " + info->names.front() + ": al più " +
                                             std::to_string(info->max_count) + ", dati " + std::to_string(given)
                                       : "mancano argomenti " + info->names.front() + ": almeno " +
                                             std::to_string(info->min_count) + ", dati " + std::to_string(given);
    if (info->max_count == 1 && given > 1)
        return shown_name(*info) + " data più di una volta";
    if (info->min_count == 1 && given == 0)
        return shown_name(*info) + " vuole un valore (" + info->value_name + ")";
    return shown_name(*info) + " vuole " + values_word(info->min_count) + " (" + info->value_name + "), dati " +
           std::to_string(given);
}

// A word the parser took for no option of the command ("--ouput"): named
// before anything it leaves missing, for the missing argument is most often
// the value the mistyped option swallowed.
bool unknown_option_left(Command& command)
{
    for (const std::string& word : command.app().remaining())
        if (word.size() > 1 && word[0] == '-')
            return true;
    return false;
}

} // namespace

std::string parse_error_message(const CLI::ParseError& e, Command& command)
{
    const std::string kind = e.get_name();
    if ((kind == "RequiredError" || kind == "ArgumentMismatch") && unknown_option_left(command))
        return extra(command);
    if (kind == "RequiredError")
        return missing(command);
    if (kind == "ArgumentMismatch")
        return count_mismatch(e, command);
    if (kind == "ValidationError") {
        // The message after the name is the check's own, in Italian.
        std::string rest;
        if (const ArgumentInfo* info = named_in(e.what(), command, &rest))
            return shown_name(*info) + " " + rest;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr)
        return extra(command);
    return "argomenti non validi per «autore " + command.name() + "»";
}

} // namespace autore

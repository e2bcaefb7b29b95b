#include "autore/scenario_files/file_name_rules.hpp"

#include "app/file_checks.hpp"
#include "app/file_names.hpp"
#include "model/code_page.hpp"

#include <filesystem>

namespace autore {

namespace {

constexpr std::string_view forbidden = "/\\:*?\"<>|";

std::string in_quotes(std::string_view name) { return "\"" + std::string(name) + "\""; }

} // namespace

std::optional<std::string> name_problem(std::string_view name)
{
    if (name.empty())
        return std::string("nome vuoto");
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (forbidden.find(c) != std::string_view::npos)
            return "il nome " + in_quotes(name) + " contiene il carattere " + in_quotes(std::string(1, c)) +
                   ", che non può stare in un nome di file";
        if (b < 0x20 || b == 0x7F)
            return "il nome " + in_quotes(name) + " contiene un carattere di controllo";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "il nome " + in_quotes(name) + " finisce con un punto o uno spazio";
    if (tratta::cp1252_to_utf8(tratta::utf8_to_cp1252(name)) != name)
        return "il nome " + in_quotes(name) + " contiene caratteri fuori dalla code page Windows-1252";
    return std::nullopt;
}

std::optional<std::string> names_problem(std::string_view scenario, std::string_view train)
{
    if (auto p = name_problem(scenario))
        return "nome dello scenario: " + *p;
    if (auto p = name_problem(train))
        return "nome del treno: " + *p;
    // Every file of the run, with the suffix of its temporary and backup names.
    const tratta::FileNames names = tratta::file_names(std::filesystem::path(), tratta::utf8_to_cp1252(scenario),
                                                       tratta::utf8_to_cp1252(train));
    for (const auto* file : {&names.line_source, &names.train_source, &names.notes, &names.slowdowns,
                             &names.timetable, &names.line_table, &names.records, &names.grid})
        if (auto p = tratta::name_length_problem(*file))
            return "nomi troppo lunghi: " + *p;
    return std::nullopt;
}

} // namespace autore

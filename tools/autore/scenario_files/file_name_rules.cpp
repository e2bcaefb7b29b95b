#include "autore/scenario_files/file_name_rules.hpp"

#include "app/file_names.hpp"
#include "model/code_page.hpp"

namespace autore {

namespace {

// A name the Windows-1252 code page cannot hold would change on its way into the file names.
std::optional<std::string> code_page_problem(std::string_view name)
{
    if (tratta::cp1252_to_utf8(tratta::utf8_to_cp1252(name)) == name)
        return std::nullopt;
    return "il nome \"" + tratta::without_control_bytes(name) +
           "\" contiene caratteri fuori dalla code page Windows-1252";
}

} // namespace

std::optional<std::string> name_problem(std::string_view name)
{
    if (auto p = tratta::name_problem(tratta::utf8_to_cp1252(name)))
        return p;
    return code_page_problem(name);
}

std::optional<std::string> names_problem(std::string_view scenario, std::string_view train)
{
    if (auto p = code_page_problem(scenario))
        return "nome dello scenario: " + *p;
    if (auto p = code_page_problem(train))
        return "nome del treno: " + *p;
    return tratta::names_problem(tratta::utf8_to_cp1252(scenario), tratta::utf8_to_cp1252(train));
}

} // namespace autore

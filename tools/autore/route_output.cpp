#include "autore/route_output.hpp"

#include "app/files.hpp"
#include "autore/binary_files.hpp"
#include "autore/input_files.hpp"
#include "model/byte_reader.hpp"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace autore {

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

LoadedScenario load_scenario(const std::vector<std::filesystem::path>& inputs, const std::string& scenario,
                             const std::string& train)
{
    std::error_code ec;
    const bool one_folder = inputs.size() == 1 && std::filesystem::is_directory(inputs.front(), ec);
    if (!one_folder)
        for (const auto& input : inputs)
            if (auto problem = input_file_problem(input))
                throw FindError(*problem);
    const CompiledFiles files = one_folder ? find_compiled(inputs.front(), scenario, train) : sort_compiled(inputs);
    LoadedScenario loaded;
    loaded.records = load_records(files.records);
    loaded.cells = load_cells(files.grid);
    if (files.line_table)
        loaded.line_table = load_line_table(*files.line_table);
    return loaded;
}

std::optional<std::string> output_name_problem(const std::filesystem::path& out_file,
                                               const std::vector<std::string_view>& extensions)
{
    const std::string ending = lower(tratta::display_path(out_file.extension()));
    for (const std::string_view e : extensions)
        if (ending == e)
            return std::nullopt;
    const std::string wanted = extensions.empty() ? std::string() : std::string(extensions.front());
    return "non scrivo \"" + tratta::display_path(out_file) + "\": il nome del file da scrivere deve finire in " +
           wanted;
}

DocumentReport write_route_document(const DocumentRequest& request,
                                    const std::function<std::string(const LoadedScenario&)>& make)
{
    DocumentReport report;
    if (auto problem = output_name_problem(request.out_file, request.extensions)) {
        report.exit_status = 1;
        report.problems.push_back(std::move(*problem));
        return report;
    }
    try {
        const LoadedScenario loaded = load_scenario(request.inputs, request.scenario, request.train);
        tratta::write_file_replacing(request.out_file, make(loaded));
        report.written.push_back(request.out_file);
    } catch (const FindError& e) {
        report.exit_status = 1;
        report.problems.emplace_back(e.what());
    } catch (const tratta::FileFailure& e) {
        report.exit_status = 1;
        report.problems.emplace_back(e.what());
    } catch (const tratta::LayoutError& e) {
        report.exit_status = 1;
        report.problems.push_back(std::string("formato non valido: ") + e.what());
    }
    return report;
}

} // namespace autore

#include "autore/scenario_files/route_output.hpp"

#include "app/file_checks.hpp"
#include "app/files.hpp"
#include "app/standard_output.hpp"
#include "autore/scenario_files/binary_files.hpp"
#include "autore/scenario_files/input_files.hpp"
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

namespace {

CompiledFiles files_of(const std::vector<std::filesystem::path>& inputs, const std::string& scenario,
                       const std::string& train)
{
    std::error_code ec;
    const bool one_folder = inputs.size() == 1 && std::filesystem::is_directory(inputs.front(), ec);
    if (!one_folder)
        for (const auto& input : inputs)
            if (auto problem = input_file_problem(input))
                throw FindError(*problem);
    return one_folder ? find_compiled(inputs.front(), scenario, train) : sort_compiled(inputs);
}

LoadedScenario load_files(const CompiledFiles& files)
{
    LoadedScenario loaded;
    loaded.records = load_records(files.records);
    loaded.cells = load_cells(files.grid);
    if (files.line_table)
        loaded.line_table = load_line_table(*files.line_table);
    return loaded;
}

// The document would take the place of a file it is made from.
void refuse_output_among_inputs(const std::filesystem::path& out_file, const CompiledFiles& files)
{
    std::vector<std::filesystem::path> read = {files.records, files.grid};
    if (files.line_table)
        read.push_back(*files.line_table);
    for (const auto& input : read)
        if (tratta::same_file(out_file, input))
            throw FindError("il file da scrivere \"" + tratta::display_path(out_file) + "\" è uno dei file letti (\"" +
                            tratta::display_path(input) + "\"): nulla è stato scritto");
}

} // namespace

LoadedScenario load_scenario(const std::vector<std::filesystem::path>& inputs, const std::string& scenario,
                             const std::string& train)
{
    return load_files(files_of(inputs, scenario, train));
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
    const bool to_standard_output = request.out_file == standard_output_name;
    try {
        // An output that is one of the files read is refused first, for
        // what it is; then one of another kind or name.
        const CompiledFiles files = files_of(request.inputs, request.scenario, request.train);
        if (!to_standard_output) {
            refuse_output_among_inputs(request.out_file, files);
            if (auto problem = output_name_problem(request.out_file, request.extensions)) {
                report.exit_status = 1;
                report.problems.push_back(std::move(*problem));
                return report;
            }
            tratta::check_output_path(request.out_file);
        }
        if (request.inputs_problem)
            if (auto problem = request.inputs_problem(files)) {
                report.exit_status = 1;
                report.problems.push_back(std::move(*problem));
                return report;
            }
        const std::string document = make(load_files(files));
        if (to_standard_output) {
            tratta::write_standard_output(document);
        } else {
            tratta::write_file_replacing(request.out_file, document);
            report.written.push_back(request.out_file);
        }
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

#pragma once
// The common road of the commands that turn a compiled scenario into one
// document (the SVG picture, the route page): find and read the three binary
// files, make the document, write it, and say in one line what went wrong.

#include "autore/scenario_files/binary_files.hpp"
#include "model/decoded_line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

// The output name that stands for standard output.
inline constexpr const char* standard_output_name = "-";

// The tables of one compiled scenario, read back from its files.
struct LoadedScenario {
    tratta::ScenarioRecords records;
    std::vector<tratta::RouteCell> cells;
    std::optional<tratta::DecodedLineProfile> line_table; // absent when compiled without it
};

struct DocumentReport {
    int exit_status = 0; // 0 written, 1 nothing written
    std::vector<std::string> problems;
    std::vector<std::filesystem::path> written;
};

struct DocumentRequest {
    std::vector<std::filesystem::path> inputs; // one folder, or the files one by one
    std::string scenario;                      // UTF-8; chooses among several scenarios in one folder
    std::string train;
    std::filesystem::path out_file;
    std::vector<std::string_view> extensions; // the endings the output's name may have, first the usual one
    // Given: what keeps the files found from making the document (sources
    // that do not belong to them), asked before anything is read or written.
    std::function<std::optional<std::string>(const CompiledFiles&)> inputs_problem;
};

// Finds and reads the three files named by the inputs (one folder, or the
// files one by one); FindError, tratta::FileFailure or tratta::LayoutError say why not.
LoadedScenario load_scenario(const std::vector<std::filesystem::path>& inputs, const std::string& scenario,
                             const std::string& train);

// Why this output name cannot be honoured (its ending is none of the
// extensions, compared ignoring case), or nothing when it can.
std::optional<std::string> output_name_problem(const std::filesystem::path& out_file,
                                               const std::vector<std::string_view>& extensions);

// Nothing is written when the name, the inputs or the files are wrong: the
// output must end in one of the extensions, be a regular file or not exist
// yet, and not be one of the files read; "-" writes to standard output.
DocumentReport write_route_document(const DocumentRequest& request,
                                    const std::function<std::string(const LoadedScenario&)>& make);

} // namespace autore

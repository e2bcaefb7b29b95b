#include "autore/binary_files.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"

#include <system_error>

namespace autore {

namespace fs = std::filesystem;
using tratta::display_path;

namespace {

template <typename Decode>
auto load(const fs::path& file, Decode decode)
{
    const std::string bytes = tratta::read_file(file);
    try {
        return decode(bytes);
    } catch (const tratta::LayoutError& e) {
        throw tratta::LayoutError(display_path(file) + ": " + e.what());
    }
}

} // namespace

std::optional<BinaryKind> kind_from_name(const fs::path& file)
{
    const std::string name = display_path(file.filename());
    if (name.ends_with("_linea.dat"))
        return BinaryKind::line_table;
    if (name.ends_with(".sim"))
        return BinaryKind::records;
    if (name.ends_with(".dat"))
        return BinaryKind::grid;
    return std::nullopt;
}

std::optional<BinaryKind> kind_from_word(std::string_view word)
{
    if (word == "linea")
        return BinaryKind::line_table;
    if (word == "sim")
        return BinaryKind::records;
    if (word == "dat")
        return BinaryKind::grid;
    return std::nullopt;
}

tratta::ScenarioRecords load_records(const fs::path& file)
{
    return load(file, [](std::string_view b) { return tratta::decode_scenario_records(b); });
}

std::vector<tratta::RouteCell> load_cells(const fs::path& file)
{
    return load(file, [](std::string_view b) { return tratta::decode_route_cells(b); });
}

tratta::DecodedLineProfile load_line_table(const fs::path& file)
{
    return load(file, [](std::string_view b) { return tratta::decode_line_profile(b); });
}

CompiledFiles find_compiled(const fs::path& dir, const std::string& scenario, const std::string& train)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        throw FindError("\"" + display_path(dir) + "\" non è una cartella");
    const std::string wanted = scenario.empty() || train.empty() ? std::string()
                                                                 : scenario + "_" + train + ".sim";
    std::vector<fs::path> sims;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = display_path(entry.path().filename());
        std::error_code kind_ec;
        if (kind_from_name(entry.path()) != BinaryKind::records || !entry.is_regular_file(kind_ec))
            continue;
        if (!wanted.empty() ? name == wanted : (scenario.empty() || name.starts_with(scenario + "_")))
            sims.push_back(entry.path());
    }
    if (sims.empty())
        throw FindError("nessun file .sim in \"" + display_path(dir) + "\"");
    if (sims.size() > 1)
        throw FindError("più di un file .sim in \"" + display_path(dir) +
                        "\": scegliere con --scenario e --train");

    CompiledFiles files;
    files.records = sims.front();
    files.grid = fs::path(files.records).replace_extension(".dat");
    if (!fs::exists(files.grid, ec))
        throw FindError("manca \"" + display_path(files.grid) + "\" accanto a \"" +
                        display_path(files.records) + "\"");
    const tratta::ScenarioRecords records = load_records(files.records);
    const std::string s = records[tratta::ScenarioRecords::scenario_header].text;
    const fs::path table = tratta::in_folder(dir, s + "_linea.dat");
    if (!s.empty() && fs::exists(table, ec))
        files.line_table = table;
    return files;
}

CompiledFiles sort_compiled(const std::vector<fs::path>& given)
{
    CompiledFiles files;
    bool have_records = false;
    bool have_grid = false;
    for (const auto& file : given) {
        const auto kind = kind_from_name(file);
        if (!kind)
            throw FindError("\"" + display_path(file) + "\" non è un file _linea.dat, .sim o .dat");
        const bool repeated = (*kind == BinaryKind::line_table && files.line_table) ||
                              (*kind == BinaryKind::records && have_records) ||
                              (*kind == BinaryKind::grid && have_grid);
        if (repeated)
            throw FindError("due file dello stesso tipo: \"" + display_path(file) + "\"");
        switch (*kind) {
        case BinaryKind::line_table: files.line_table = file; break;
        case BinaryKind::records: files.records = file; have_records = true; break;
        case BinaryKind::grid: files.grid = file; have_grid = true; break;
        }
    }
    if (!have_records || !have_grid)
        throw FindError("servono almeno il file .sim e il file .dat dello scenario");
    return files;
}

} // namespace autore

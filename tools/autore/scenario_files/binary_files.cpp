#include "autore/scenario_files/binary_files.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "autore/command_line/argument_checks.hpp"
#include "autore/scenario_files/input_files.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"
#include "model/file_layouts.hpp"
#include "model/line_profile.hpp"
#include "model/route_cells.hpp"

#include <algorithm>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;
using tratta::display_path;

namespace {

// The largest file of each kind that any compile can make: that of the
// longest route (1,000,000 m, and the 7,000 m run-out after it), every
// record holding the longest text. A larger file is no scenario's, and is
// refused before a byte of it is read into memory.
constexpr std::uintmax_t longest_line_end_m = 1000000 + 7000;
constexpr std::uintmax_t largest_size(BinaryKind kind)
{
    switch (kind) {
    case BinaryKind::line_table: // x and y of every metre, each at most a real element
        return 2 * tratta::LineProfile::real_element_bytes * (longest_line_end_m + 1);
    case BinaryKind::records:
        return tratta::ScenarioRecords::count * (tratta::record_fixed_bytes + 65535);
    case BinaryKind::grid:
        return tratta::cell_bytes * (longest_line_end_m / 50 + 2);
    }
    return 0;
}

template <typename Decode>
auto load(const fs::path& file, BinaryKind kind, Decode decode)
{
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!ec && size > largest_size(kind))
        throw tratta::LayoutError(display_path(file) + ": " + std::to_string(size) + " byte, più di quanti ne scriva " +
                                  "qualsiasi compilazione per " + std::string(kind_words(kind)) + " (al massimo " +
                                  std::to_string(largest_size(kind)) + "): non è il file di uno scenario");
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

std::string_view kind_words(BinaryKind kind)
{
    switch (kind) {
    case BinaryKind::line_table: return "la tabella della linea (_linea.dat)";
    case BinaryKind::records: return "il file dei record dello scenario (.sim)";
    case BinaryKind::grid: return "la griglia del percorso (.dat)";
    }
    return "";
}

tratta::ScenarioRecords load_records(const fs::path& file)
{
    return load(file, BinaryKind::records, [](std::string_view b) { return tratta::decode_scenario_records(b); });
}

std::vector<tratta::RouteCell> load_cells(const fs::path& file)
{
    return load(file, BinaryKind::grid, [](std::string_view b) { return tratta::decode_route_cells(b); });
}

tratta::DecodedLineProfile load_line_table(const fs::path& file)
{
    return load(file, BinaryKind::line_table, [](std::string_view b) { return tratta::decode_line_profile(b); });
}

namespace {

// A compiled scenario in a folder: its records file and the two names the
// records hold (UTF-8); a records file that cannot be read keeps only its
// file name.
struct CompiledEntry {
    fs::path records;
    std::optional<tratta::ScenarioRecords> table;
    std::string scenario;
    std::string train;

    std::string label() const { return display_path(records.stem()); }
    bool has_scenario(const std::string& s) const
    {
        return table ? scenario == s : label().starts_with(s + "_");
    }
    bool has_train(const std::string& t) const { return table ? train == t : label().ends_with("_" + t); }
    std::string scenario_label() const { return table ? scenario : label(); }
    std::string train_label() const { return table ? train : label(); }
};

std::vector<CompiledEntry> compiled_in(const fs::path& dir)
{
    std::vector<CompiledEntry> entries;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(dir, ec)) {
        if (kind_from_name(item.path()) != BinaryKind::records || !item.is_regular_file(ec))
            continue;
        CompiledEntry e{item.path(), std::nullopt, {}, {}};
        try {
            e.table = load_records(e.records);
            e.scenario = tratta::cp1252_to_utf8((*e.table)[tratta::ScenarioRecords::scenario_header].text);
            e.train = tratta::cp1252_to_utf8((*e.table)[tratta::ScenarioRecords::run_header].text);
        } catch (const tratta::FileFailure&) {
            e.table.reset();
        } catch (const tratta::LayoutError&) {
            e.table.reset();
        }
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(),
              [](const CompiledEntry& a, const CompiledEntry& b) { return a.records < b.records; });
    return entries;
}

// Each name once, in the order of the entries.
template <typename Name>
std::vector<std::string> names_of(const std::vector<CompiledEntry>& entries, Name name)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        if (std::find(names.begin(), names.end(), name(e)) == names.end())
            names.push_back(name(e));
    return names;
}

template <typename Keep>
std::vector<CompiledEntry> kept(std::vector<CompiledEntry> entries, Keep keep)
{
    std::erase_if(entries, [&](const CompiledEntry& e) { return !keep(e); });
    return entries;
}

// The line table of a scenario in a folder, found among the folder's own
// files: the one its records name, when that name can stand in a file name
// (a header such as "../out/Valle" never leads out of the folder), else the one
// whose scenario part begins the records' own file name (files renamed by
// hand: "Nuovo_R 101.sim" beside "Nuovo_linea.dat"), the longest such part.
std::optional<fs::path> line_table_beside(const fs::path& dir, const fs::path& records, const std::string& scenario)
{
    std::error_code ec;
    if (!scenario.empty() && !tratta::name_problem(scenario)) {
        const fs::path named = tratta::in_folder(dir, scenario + "_linea.dat");
        if (fs::is_regular_file(named, ec))
            return named;
    }
    const std::u8string stem = records.stem().u8string();
    const std::size_t suffix = std::u8string_view(u8"_linea.dat").size();
    std::optional<fs::path> found;
    std::size_t found_part = 0;
    for (const auto& item : fs::directory_iterator(dir, ec)) {
        if (kind_from_name(item.path()) != BinaryKind::line_table || !item.is_regular_file(ec))
            continue;
        const std::u8string name = item.path().filename().u8string();
        const std::u8string part = name.substr(0, name.size() - suffix);
        const bool begins_stem = !part.empty() && stem.size() > part.size() && stem.starts_with(part) &&
                                 stem[part.size()] == u8'_';
        if (begins_stem && part.size() > found_part) {
            found = item.path();
            found_part = part.size();
        }
    }
    return found;
}

} // namespace

CompiledFiles find_compiled(const fs::path& dir, const std::string& scenario, const std::string& train)
{
    if (auto problem = input_folder_problem(dir))
        throw FindError(*problem);
    const std::vector<CompiledEntry> all = compiled_in(dir);
    if (all.empty())
        throw FindError("nessuno scenario compilato (un file .sim) in " + quoted_path(dir));
    const auto scenario_of = [](const CompiledEntry& e) { return e.scenario_label(); };
    const auto train_of = [](const CompiledEntry& e) { return e.train_label(); };

    std::vector<CompiledEntry> found = all;
    if (!scenario.empty()) {
        found = kept(all, [&](const CompiledEntry& e) { return e.has_scenario(scenario); });
        if (found.empty())
            throw FindError("nessuno scenario " + in_quotes(scenario) + " in " + quoted_path(dir) + ": ci sono " +
                            quoted_list(names_of(all, scenario_of)));
    }
    if (!train.empty()) {
        const auto of_scenario = found;
        found = kept(of_scenario, [&](const CompiledEntry& e) { return e.has_train(train); });
        if (found.empty())
            throw FindError("nessun treno " + in_quotes(train) + " in " + quoted_path(dir) +
                            (scenario.empty() ? std::string() : " per lo scenario " + in_quotes(scenario)) +
                            ": ci sono " + quoted_list(names_of(of_scenario, train_of)));
    }
    if (found.size() > 1) {
        const bool one_scenario = names_of(found, scenario_of).size() == 1;
        const bool one_train = names_of(found, train_of).size() == 1;
        const std::string choose = one_scenario ? "--train" : one_train ? "--scenario" : "--scenario e --train";
        throw FindError("più di uno scenario compilato in " + quoted_path(dir) + ": " +
                        quoted_list(names_of(found, [](const CompiledEntry& e) { return e.label(); })) +
                        "; scegliere con " + choose);
    }

    const CompiledEntry& chosen = found.front();
    CompiledFiles files;
    files.records = chosen.records;
    files.grid = fs::path(files.records).replace_extension(".dat");
    if (input_file_problem(files.grid))
        throw FindError("manca " + quoted_path(files.grid) + " accanto a " + quoted_path(files.records));
    const tratta::ScenarioRecords records = chosen.table ? *chosen.table : load_records(files.records);
    files.line_table = line_table_beside(dir, files.records, records[tratta::ScenarioRecords::scenario_header].text);
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
            throw FindError(quoted_path(file) + " non è un file _linea.dat, .sim o .dat");
        const bool repeated = (*kind == BinaryKind::line_table && files.line_table) ||
                              (*kind == BinaryKind::records && have_records) ||
                              (*kind == BinaryKind::grid && have_grid);
        if (repeated)
            throw FindError("due file dello stesso tipo: " + quoted_path(file));
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

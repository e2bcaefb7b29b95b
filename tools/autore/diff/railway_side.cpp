#include "autore/diff/railway_side.hpp"

#include "app/files.hpp"
#include "autore/scenario_files/binary_files.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "autore/scenario_files/route_output.hpp"
#include "app/compile_purpose.hpp"
#include "model/byte_reader.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"

namespace autore {

namespace {

namespace fs = std::filesystem;

bool is_source(const fs::path& file)
{
    const std::string name = tratta::display_path(file.filename());
    return name.size() > 4 && (name.ends_with(".txt") || name.ends_with(".TXT"));
}

bool is_line_source(const fs::path& file) { return tratta::display_path(file.filename()).ends_with("_linea.txt"); }

// A line file alone runs under a train file with nothing in it; a train file
// alone on the line file beside it in the author's folder, or else on the
// longest route with nothing on it.
constexpr const char* empty_train = "[generale]\r\n[fine]\r\n";
constexpr const char* longest_line = "[generale]\r\nlunghezza percorso,  1000000\r\n[fine]\r\n";

// The names the program gives a scenario from its files' names; where a
// file does not say them, both sides take the same stand-ins.
struct SourceNames {
    std::string scenario = "S";
    std::string train = "T";
};

SourceNames names_from(const fs::path& line_file, const fs::path& train_file)
{
    SourceNames names;
    if (auto s = scenario_from_line_file(line_file))
        names.scenario = *s;
    else if (!train_file.empty()) {
        const std::string base = tratta::display_path(train_file.filename());
        if (const auto cut = base.rfind('_'); cut != std::string::npos && cut > 0)
            names.scenario = base.substr(0, cut);
    }
    if (auto t = train_from_train_file(train_file, names.scenario))
        names.train = *t;
    return names;
}

RailwaySide compiled_sources(const std::string& line_bytes, const std::string& train_bytes, const std::string& label,
                             const SourceNames& names = {})
{
    const tratta::CompileResult result = tratta::compile(tratta::compile_input(
        tratta::CompilePurpose::files_in_memory, tratta::SourceText::of(line_bytes), tratta::SourceText::of(train_bytes),
        tratta::utf8_to_cp1252(names.scenario), tratta::utf8_to_cp1252(names.train)));
    if (!result.makes_files())
        throw DiffTrouble(label + ": i sorgenti non si compilano (" +
                          (result.failure.empty() ? "errore " + std::to_string(result.box_number) : result.failure) +
                          ")");
    RailwaySide side;
    side.label = label;
    side.records = result.model.records;
    side.cells = result.model.cells.cells();
    const auto& t = result.files.line_table;
    side.plan = tratta::decode_line_profile({reinterpret_cast<const char*>(t.data()), t.size()});
    return side;
}

std::string quoted(const fs::path& file) { return "\"" + tratta::display_path(file) + "\""; }

RailwaySide one_file(const fs::path& file, const fs::path& named_as)
{
    const fs::path& name = named_as.empty() ? file : named_as;
    RailwaySide side;
    side.label = quoted(name);
    if (is_source(name)) {
        const std::string bytes = tratta::read_file(file);
        if (is_line_source(name))
            return compiled_sources(bytes, empty_train, side.label, names_from(name, {}));
        // The line file beside it is "<S>_linea.txt" for a train file "<S>_<T>-.txt".
        std::string line = longest_line;
        const std::string base = tratta::display_path(name.filename());
        std::error_code ec;
        const fs::path folder = name.parent_path().empty() ? fs::path(".") : name.parent_path();
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string other = tratta::display_path(it->path().filename());
            const std::string scenario = other.size() > 10 ? other.substr(0, other.size() - 10) : std::string();
            if (is_line_source(other) && !scenario.empty() && base.starts_with(scenario + "_") &&
                it->is_regular_file(ec)) {
                line = tratta::read_file(it->path());
                break;
            }
        }
        return compiled_sources(line, bytes, side.label, names_from({}, name));
    }
    const auto kind = kind_from_name(name);
    if (!kind)
        throw DiffTrouble(quoted(name) + " non è un file di uno scenario (.sim, .dat, _linea.dat, _linea.txt o "
                                         "-.txt)");
    const std::string bytes = tratta::read_file(file);
    try {
        switch (*kind) {
        case BinaryKind::records: side.records = tratta::decode_scenario_records(bytes); break;
        case BinaryKind::grid: side.cells = tratta::decode_route_cells(bytes); break;
        case BinaryKind::line_table: side.plan = tratta::decode_line_profile(bytes); break;
        }
    } catch (const tratta::LayoutError& e) {
        throw DiffTrouble(quoted(name) + ": formato non valido: " + e.what());
    }
    return side;
}

} // namespace

RailwaySide read_side(const std::vector<fs::path>& inputs, const fs::path& named_as)
{
    try {
        std::error_code ec;
        if (inputs.size() == 1 && !fs::is_directory(inputs.front(), ec))
            return one_file(inputs.front(), named_as);
        if (inputs.size() == 2 && is_source(inputs[0]) && is_source(inputs[1])) {
            const bool first_is_line = is_line_source(inputs[0]) || !is_line_source(inputs[1]);
            const fs::path& line = first_is_line ? inputs[0] : inputs[1];
            const fs::path& train = first_is_line ? inputs[1] : inputs[0];
            return compiled_sources(tratta::read_file(line), tratta::read_file(train),
                                    quoted(line) + " e " + quoted(train), names_from(line, train));
        }
        const CompiledFiles files = files_of(inputs, {}, {});
        LoadedScenario loaded = load_files(files);
        RailwaySide side;
        side.label = inputs.size() == 1 ? quoted(inputs.front()) : quoted(files.records);
        side.records = loaded.records;
        side.cells = std::move(loaded.cells);
        if (loaded.line_table)
            side.plan = std::move(*loaded.line_table);
        return side;
    } catch (const FindError& e) {
        throw DiffTrouble(e.what());
    } catch (const tratta::FileFailure& e) {
        throw DiffTrouble(e.what());
    } catch (const tratta::LayoutError& e) {
        throw DiffTrouble(std::string("formato non valido: ") + e.what());
    }
}

} // namespace autore

#pragma once
// The three binary files of a compiled scenario, recognised by the ending the
// program gives their names, read and decoded with every length checked.

#include "model/decoded_line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

enum class BinaryKind { line_table, records, grid };

// "_linea.dat" is the line table, ".sim" the records, any other ".dat" the grid.
std::optional<BinaryKind> kind_from_name(const std::filesystem::path& file);
std::optional<BinaryKind> kind_from_word(std::string_view word); // "linea", "sim", "dat"
// What a file of the kind is, in words: "il file dei record dello scenario (.sim)".
std::string_view kind_words(BinaryKind kind);

// Read and decode; a file that cannot be read or is not a regular file (a
// folder, a fifo, a device) is a tratta::FileFailure and one of the wrong
// size or layout a tratta::LayoutError naming the file.
tratta::ScenarioRecords load_records(const std::filesystem::path& file);
std::vector<tratta::RouteCell> load_cells(const std::filesystem::path& file);
tratta::DecodedLineProfile load_line_table(const std::filesystem::path& file);

// The three files of one compiled scenario.
struct CompiledFiles {
    std::optional<std::filesystem::path> line_table; // absent when compiled without it
    std::filesystem::path records;
    std::filesystem::path grid;
};

// Finds them in a folder: its one ".sim" file, the ".dat" of the same name
// and the line table among the folder's own files: the one the records'
// scenario name gives, when that name can stand in a file name, else the one
// whose scenario part begins the ".sim" file's own name (files renamed by
// hand); never a path formed from a record's text. With more than one ".sim"
// the scenario/train names (UTF-8) choose; empty means any.
CompiledFiles find_compiled(const std::filesystem::path& dir, const std::string& scenario,
                            const std::string& train);

// Sorts two or three files given one by one by the endings of their names.
CompiledFiles sort_compiled(const std::vector<std::filesystem::path>& files);

// A folder or a set of files that does not make one compiled scenario.
class FindError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace autore

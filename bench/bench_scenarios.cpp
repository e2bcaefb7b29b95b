#include "bench_scenarios.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/source_files.hpp"
#include "compile/compile.hpp"
#include "scenario/text_writer.hpp"
#include "support/temp_folder.hpp"

#include <fstream>
#include <stdexcept>

namespace tratta::bench {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;

namespace {

FileNames names_in(const fs::path& folder) { return file_names(folder, scenario_constant, train_constant); }

void write_text(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

// Every file left in the folder, with its size.
std::vector<WrittenFile> files_left(const fs::path& folder)
{
    std::vector<WrittenFile> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back({entry.path().filename(), entry.file_size(), false});
    return files;
}

// A route of 1000000 m bending all along: one curve per kilometre, classes and
// sides taken in turn, each ending one metre before the next begins, the last
// one ending at metre 999999 so the walk never passes the 1000000 m limit.
std::string maximal_line_text()
{
    std::string text = "[generale]\r\n"
                       "lunghezza percorso,    1000000\r\n"
                       "progressiva chilometrica uno,    0,    0,    0\r\n"
                       "ripetizione segnali 9 codici,    0,    0\r\n"
                       "[curve]\r\n";
    static const char sides[] = {'s', 'd'};
    for (int i = 0; i < 1000; ++i) {
        const int start = i * 1000;
        text += "curva";
        text += sides[i % 2];
        text += std::to_string(1 + (i / 2) % 6);
        text += ",  " + std::to_string(start) + ",  999\r\n";
    }
    text += "[pendenze]\r\n";
    for (int i = 0; i < 1000; ++i)
        text += "pendenza,  " + std::to_string(i * 1000) + ",  " + std::to_string(i % 23 - 11) + "\r\n";
    text += "[fine]\r\n";
    return text;
}

std::string maximal_train_text()
{
    return "[generale]\r\n"
           "numero vetture,  10\r\n"
           "percentuale massa frenata,  120\r\n"
           "[velocita]\r\n"
           "velocita,  0,  150\r\n"
           "[aderenza]\r\n"
           "aderenza,  0,  50\r\n"
           "[fine]\r\n";
}

} // namespace

int embedded_run(const fs::path& folder) { return esegui_scenario(folder).exit_status; }

void write_maximal_route_sources(const fs::path& folder)
{
    const FileNames names = names_in(folder);
    write_text(names.line_source, maximal_line_text());
    write_text(names.train_source, maximal_train_text());
}

int maximal_route_compile(const fs::path& folder)
{
    const FileNames names = names_in(folder);
    const LoadedSource line = load_source(names.line_source);
    const LoadedSource train = load_source(names.train_source);
    const CompileResult result = compile({line.text(), train.text(), scenario_constant, train_constant, true});
    if (!result.makes_files())
        return 1;
    std::vector<StagedFile> staged;
    staged.reserve(3);
    staged.emplace_back(names.line_table, as_text(result.files.line_table));
    staged.emplace_back(names.records, as_text(result.files.records));
    staged.emplace_back(names.grid, as_text(result.files.grid));
    replace_together(staged);
    return result.error_code == 0 ? 0 : 2;
}

std::vector<WrittenFile> embedded_run_files_in(const fs::path& folder)
{
    auto files = files_left(folder);
    const FileNames names = names_in(folder);
    files.push_back({names.line_source.filename(), encode_data_set(linea_data()).size(), true});
    files.push_back({names.train_source.filename(), encode_data_set(treno_data()).size(), true});
    return files;
}

std::vector<WrittenFile> maximal_route_files_in(const fs::path& folder) { return files_left(folder); }

std::vector<WrittenFile> embedded_run_files()
{
    TempFolder scratch;
    if (embedded_run(scratch.path()) != 0)
        throw std::runtime_error("the embedded run did not end cleanly");
    return embedded_run_files_in(scratch.path());
}

std::vector<WrittenFile> maximal_route_files()
{
    TempFolder scratch;
    write_maximal_route_sources(scratch.path());
    if (maximal_route_compile(scratch.path()) != 0)
        throw std::runtime_error("the maximal route did not compile cleanly");
    return maximal_route_files_in(scratch.path());
}

void write_like(const fs::path& folder, const std::vector<WrittenFile>& files)
{
    static std::string filler;
    const auto largest = static_cast<std::size_t>(largest_file(files));
    if (filler.size() < largest)
        filler.assign(largest, 'x');
    for (const auto& f : files) {
        std::ofstream out(folder / f.name, std::ios::binary | std::ios::trunc);
        out.write(filler.data(), static_cast<std::streamsize>(f.bytes));
        if (!out)
            throw std::runtime_error("cannot write " + (folder / f.name).string());
    }
    for (const auto& f : files)
        if (f.deleted_at_end)
            fs::remove(folder / f.name);
}

std::uintmax_t total_bytes(const std::vector<WrittenFile>& files)
{
    std::uintmax_t total = 0;
    for (const auto& f : files)
        total += f.bytes;
    return total;
}

std::uintmax_t largest_file(const std::vector<WrittenFile>& files)
{
    std::uintmax_t largest = 0;
    for (const auto& f : files)
        largest = f.bytes > largest ? f.bytes : largest;
    return largest;
}

} // namespace tratta::bench

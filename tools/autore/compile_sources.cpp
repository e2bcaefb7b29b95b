#include "autore/compile_sources.hpp"

#include "app/avvio.hpp"
#include "app/errore.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/memorizza_percorso.hpp"
#include "app/run_state.hpp"
#include "autore/file_name_rules.hpp"
#include "autore/private_folder.hpp"
#include "model/code_page.hpp"
#include "model/error_meanings.hpp"

#include <exception>
#include <iterator>
#include <string_view>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;
using tratta::display_path;

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view train_suffix = "-.txt";

std::string file_name_of(const fs::path& file) { return display_path(file.filename()); }

bool ends_with(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

void append(std::vector<std::string>& to, std::vector<std::string> lines)
{
    to.insert(to.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

bool same_file(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

// The binaries of a run, those that the compile step writes for this j.
std::vector<fs::path> binaries(const tratta::FileNames& names, bool line_table)
{
    std::vector<fs::path> files;
    if (line_table)
        files.push_back(names.line_table);
    files.push_back(names.records);
    files.push_back(names.grid);
    return files;
}

} // namespace

std::optional<std::string> scenario_from_line_file(const fs::path& line_file)
{
    const std::string name = file_name_of(line_file);
    if (!ends_with(name, line_suffix) || name.size() == line_suffix.size())
        return std::nullopt;
    return name.substr(0, name.size() - line_suffix.size());
}

std::optional<std::string> train_from_train_file(const fs::path& train_file, const std::string& scenario)
{
    const std::string name = file_name_of(train_file);
    const std::string head = scenario + "_";
    if (name.size() <= head.size() + train_suffix.size() || name.compare(0, head.size(), head) != 0 ||
        !ends_with(name, train_suffix))
        return std::nullopt;
    return name.substr(head.size(), name.size() - head.size() - train_suffix.size());
}

std::optional<std::string> resolve_names(const CompileRequest& rq, std::string& s, std::string& t)
{
    s = rq.scenario;
    if (s.empty()) {
        const auto from_file = scenario_from_line_file(rq.line_file);
        if (!from_file)
            return "il nome dello scenario non si ricava da \"" + file_name_of(rq.line_file) +
                   "\" (atteso \"<scenario>_linea.txt\"): indicarlo con --scenario";
        s = *from_file;
    }
    t = rq.train;
    if (t.empty()) {
        const auto from_file = train_from_train_file(rq.train_file, s);
        if (!from_file)
            return "il nome del treno non si ricava da \"" + file_name_of(rq.train_file) +
                   "\" (atteso \"" + s + "_<treno>-.txt\"): indicarlo con --train";
        t = *from_file;
    }
    return names_problem(s, t);
}

std::vector<std::string> recorded_errors(const tratta::RunState& state, const std::string& line_label,
                                         const std::string& train_label)
{
    std::vector<std::string> lines;
    for (const auto& earlier : state.replaced_errors)
        lines.push_back(tratta::describe_error(earlier, line_label, train_label));
    if (state.error_code != 0)
        lines.push_back(tratta::describe_error(state, line_label, train_label));
    return lines;
}

CompileReport compile_sources(const CompileRequest& rq)
{
    CompileReport report;
    const auto fail = [&report](std::string problem) {
        report.exit_status = 1;
        report.problems.push_back(std::move(problem));
        return report;
    };

    std::string s_utf8;
    std::string t_utf8;
    if (auto problem = resolve_names(rq, s_utf8, t_utf8))
        return fail(*problem);
    const std::string s = tratta::utf8_to_cp1252(s_utf8);
    const std::string t = tratta::utf8_to_cp1252(t_utf8);

    try {
        // The author's files are only ever read.
        const std::string line_bytes = tratta::read_file(rq.line_file);
        const std::string train_bytes = tratta::read_file(rq.train_file);

        std::error_code ec;
        fs::create_directories(rq.out_dir, ec);
        if (!fs::is_directory(rq.out_dir, ec))
            return fail("la cartella di destinazione \"" + display_path(rq.out_dir) + "\" non si può creare");
        const tratta::FileNames out = tratta::file_names(rq.out_dir, s, t);
        for (const auto& target : binaries(out, rq.line_table))
            if (same_file(target, rq.line_file) || same_file(target, rq.train_file))
                return fail("il file da scrivere \"" + display_path(target) +
                            "\" è uno dei file sorgente: nulla è stato scritto");

        PrivateFolder work;
        tratta::RunState state;
        state.folder = work.path();
        state.scenario_name = s;
        state.train_name = t;
        const tratta::FileNames inside = tratta::file_names(state);
        tratta::write_file_emptied(inside.line_source, line_bytes);
        tratta::write_file_emptied(inside.train_source, train_bytes);

        int32_t j = rq.line_table ? 1 : 0;
        const std::string line_label = display_path(rq.line_file);
        const std::string train_label = display_path(rq.train_file);
        try {
            tratta::memorizza_percorso(state, j);
        } catch (const tratta::ErrorBox& box) {
            append(report.problems, recorded_errors(state, line_label, train_label));
            return fail("errore " + box.number() + ": " +
                        std::string(tratta::error_meaning(std::stoi(box.number()))) +
                        "; nessun file scritto");
        } catch (const tratta::RunFailure& failure) {
            append(report.problems, recorded_errors(state, line_label, train_label));
            return fail(std::string(failure.what()) + "; nessun file scritto");
        }

        // Every binary is complete beside its place before any takes it, so a
        // copy that fails leaves the output folder as it was.
        const auto made = binaries(inside, rq.line_table);
        const auto targets = binaries(out, rq.line_table);
        std::vector<tratta::StagedFile> staged;
        staged.reserve(made.size());
        for (std::size_t i = 0; i < made.size(); ++i)
            staged.emplace_back(targets[i], tratta::read_file(made[i]));
        for (auto& file : staged) {
            file.replace();
            report.written.push_back(file.file());
        }
        if (state.error_code != 0)
            report.exit_status = 2;
        append(report.problems, recorded_errors(state, line_label, train_label));
    } catch (const tratta::FileFailure& failure) {
        return fail(failure.what());
    } catch (const std::exception& e) {
        return fail(std::string("errore interno: ") + e.what());
    }
    return report;
}

} // namespace autore

#include "autore/scenario_files/compile_sources.hpp"

#include "app/compile_and_write.hpp"
#include "app/file_names.hpp"
#include "app/file_checks.hpp"
#include "app/files.hpp"
#include "app/folder_lock.hpp"
#include "app/own_files.hpp"
#include "autore/analysis/check.hpp"
#include "autore/scenario_files/file_name_rules.hpp"
#include "autore/scenario_files/input_files.hpp"
#include "model/code_page.hpp"
#include "model/error_meanings.hpp"

#include <exception>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;
using tratta::display_path;

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view train_suffix = "-.txt";

std::string file_name_of(const fs::path& file) { return display_path(file.filename()); }


// The author's file as the compile takes it, read once; a file that is not
// there or cannot be read is the author's problem, not a data error.
std::optional<std::string> read_author_file(const fs::path& file, tratta::LoadedSource& into)
{
    into = {};
    if (auto problem = read_input_file(file, into.bytes))
        return problem;
    into.state = tratta::SourceText::State::present;
    return std::nullopt;
}

} // namespace

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
            return "il nome del treno non si ricava da \"" + file_name_of(rq.train_file) + "\" (atteso \"" + s +
                   "_<treno>-.txt\"): indicarlo con --train";
        t = *from_file;
    }
    return names_problem(s, t);
}

std::optional<std::string> scenario_from_line_file(const fs::path& line_file)
{
    const std::string name = file_name_of(line_file);
    if (!name.ends_with(line_suffix) || name.size() == line_suffix.size())
        return std::nullopt;
    return name.substr(0, name.size() - line_suffix.size());
}

std::optional<std::string> train_from_train_file(const fs::path& train_file, const std::string& scenario)
{
    const std::string name = file_name_of(train_file);
    const std::string head = scenario + "_";
    if (name.size() <= head.size() + train_suffix.size() || !name.starts_with(head) || !name.ends_with(train_suffix))
        return std::nullopt;
    return name.substr(head.size(), name.size() - head.size() - train_suffix.size());
}

std::optional<std::string> sources_problem(const fs::path& line_file, const fs::path& train_file)
{
    for (const fs::path* file : {&line_file, &train_file})
        if (auto problem = input_file_problem(*file))
            return problem;
    return std::nullopt;
}

std::optional<std::string> read_author_files(const CompileRequest& rq, AuthorFiles& files)
{
    // What is wrong with the files themselves comes before what their names
    // say. The author's files are only ever read, each once.
    for (auto [file, into] : {std::pair{&rq.line_file, &files.line}, std::pair{&rq.train_file, &files.train}})
        if (auto problem = read_author_file(*file, *into))
            return problem;
    std::string s_utf8;
    std::string t_utf8;
    if (auto problem = resolve_names(rq, s_utf8, t_utf8))
        return problem;
    files.scenario_name = tratta::utf8_to_cp1252(s_utf8);
    files.train_name = tratta::utf8_to_cp1252(t_utf8);
    return std::nullopt;
}

AuthorCompile compile_author_files(const CompileRequest& rq, tratta::CompilePurpose purpose)
{
    AuthorCompile out;
    auto sc = std::make_unique<AuthorScenario>();
    if (auto problem = read_author_files(rq, *sc)) {
        out.problem = *problem;
        return out;
    }
    sc->result = tratta::compile(
        tratta::compile_input(purpose, sc->line.text(), sc->train.text(), sc->scenario_name, sc->train_name, rq.line_table));
    out.scenario = std::move(sc);
    return out;
}

CompileReport compile_sources(const CompileRequest& rq)
{
    CompileReport report;
    const auto fail = [&report](std::string problem) {
        report.exit_status = 1;
        report.problems.push_back(std::move(problem));
        return report;
    };

    try {
        AuthorFiles sc;
        if (auto problem = read_author_files(rq, sc))
            return fail(*problem);
        report.names = {display_path(rq.line_file), display_path(rq.train_file)};
        std::error_code ec;
        fs::create_directories(rq.out_dir, ec);
        if (!fs::is_directory(rq.out_dir, ec))
            return fail("la cartella di destinazione \"" + display_path(rq.out_dir) + "\" non si può creare");
        const tratta::FileNames out = tratta::file_names(rq.out_dir, sc.scenario_name, sc.train_name);
        for (const auto* target : {&out.line_table, &out.records, &out.grid})
            if (tratta::same_file(*target, rq.line_file) || tratta::same_file(*target, rq.train_file))
                return fail("il file da scrivere \"" + display_path(*target) +
                            "\" è uno dei file sorgente: nulla è stato scritto");

        // One run at a time in the output folder, as in the program's, and
        // the same compile-and-write: every binary is complete beside its
        // place before any takes it, so a write that fails leaves the output
        // folder as it was. The same compile keeps where each object came
        // from and every field as read, for the check's diagnostics, made
        // once the files' bytes are written and gone.
        const tratta::FolderLock lock(rq.out_dir);
        tratta::remove_stale_temporaries_once(rq.out_dir);
        const tratta::CompileAndWrite request{sc.line.text(),
                                              sc.train.text(),
                                              sc.scenario_name,
                                              sc.train_name,
                                              rq.line_table,
                                              tratta::CompilePurpose::author_files,
                                              {out.line_table, out.records, out.grid},
                                              {}};
        tratta::WrittenCompile written = tratta::compile_and_write(request);
        tratta::CompileResult& result = written.result;
        // Without the line table the compile reads no curve: the check then
        // compiles once more, reading them, so as to judge the curve lines too.
        const auto diagnose = [&] {
            result.files = {};
            const CheckInput check{sc.line.bytes, sc.train.bytes, sc.scenario_name, sc.train_name};
            report.diagnostics = (rq.line_table ? check_compiled(check, result) : check_scenario(check)).diagnostics;
        };

        switch (result.outcome) {
        case tratta::CompileOutcome::error_box:
            diagnose();
            return fail("nessun file scritto");
        case tratta::CompileOutcome::failure: {
            const std::string failure = result.failure;
            diagnose();
            return fail(failure + "; nessun file scritto");
        }
        case tratta::CompileOutcome::clean:
        case tratta::CompileOutcome::data_error: break;
        }

        report.written = std::move(written.written);
        if (result.outcome == tratta::CompileOutcome::data_error)
            report.exit_status = 2;
        diagnose();
    } catch (const tratta::FileFailure& failure) {
        return fail(failure.what());
    }
    return report;
}

} // namespace autore

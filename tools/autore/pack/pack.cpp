#include "autore/pack/pack.hpp"

#include "app/files.hpp"
#include "app/payload.hpp"
#include "autore/analysis/check.hpp"
#include "autore/driver_documents/documents.hpp"
#include "autore/scenario_files/runner_places.hpp"

#include <array>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;
using tratta::display_path;

namespace {

std::string_view runner_name(PackTarget target)
{
    return target == PackTarget::windows ? "tratta_runner.exe" : "tratta_runner";
}

// A program file of the target's kind: an ELF file for Linux, a PE file
// (it begins with "MZ") for Windows.
bool is_program_for(std::string_view bytes, PackTarget target)
{
    return target == PackTarget::windows ? bytes.starts_with("MZ") : bytes.starts_with("\x7f" "ELF");
}

// The three documents given, each known by the end of its name.
std::optional<std::string> read_documents(const std::vector<fs::path>& files, tratta::ScenarioTexts& texts)
{
    if (files.size() != 3)
        return "servono tutti e tre i documenti (_scheda_treno.txt, _rallentamenti.txt, _note.txt), o nessuno";
    const std::array<std::pair<std::string_view, std::string*>, 3> kinds = {
        std::pair{std::string_view("_scheda_treno.txt"), &texts.timetable},
        std::pair{std::string_view("_rallentamenti.txt"), &texts.slowdowns},
        std::pair{std::string_view("_note.txt"), &texts.notes}};
    std::array<bool, 3> found{};
    for (const fs::path& file : files) {
        const std::string name = display_path(file.filename());
        bool known = false;
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            if (!name.ends_with(kinds[k].first))
                continue;
            if (found[k])
                return "due documenti finiscono in \"" + std::string(kinds[k].first) + "\"";
            *kinds[k].second = tratta::read_file(file);
            found[k] = known = true;
        }
        if (!known)
            return "\"" + display_path(file) + "\" non è un documento: il nome deve finire in _scheda_treno.txt, "
                   "_rallentamenti.txt o _note.txt";
    }
    return std::nullopt;
}

// The author is told every folder looked in, so that a runner put in any of
// them is found next time.
std::string no_runner_message(PackTarget target, const std::vector<fs::path>& looked_in)
{
    std::string folders;
    for (const fs::path& folder : looked_in)
        folders += (folders.empty() ? "\"" : ", \"") + display_path(folder) + "\"";
    return "nessun \"" + std::string(runner_name(target)) + "\" (il programma di base per " +
           (target == PackTarget::windows ? "Windows" : "Linux") + "): cercato in " + folders +
           "; metterlo in una di queste cartelle o indicarlo con --runner";
}

} // namespace

PackReport pack_scenario(const PackRequest& rq, const fs::path& tool_folder)
{
    PackReport report;
    const auto fail = [&report](std::string problem) {
        report.exit_status = 1;
        report.problems.push_back(std::move(problem));
        return report;
    };
    try {
        // One compile for the check and the documents alike; the program
        // compiles the sources again when it runs.
        AuthorCompile compiled = compile_author_files(rq.sources, tratta::CompilePurpose::check);
        if (!compiled.scenario)
            return fail(compiled.problem);
        const AuthorScenario& sc = *compiled.scenario;
        report.names = {display_path(rq.sources.line_file), display_path(rq.sources.train_file)};
        report.diagnostics =
            check_compiled({sc.line.bytes, sc.train.bytes, sc.scenario_name, sc.train_name}, sc.result).diagnostics;
        // A scenario that the program could not compile would only show its error box.
        if (!sc.result.makes_files())
            return fail("lo scenario non si compila: il programma non scriverebbe alcun file; nulla è stato scritto");

        tratta::ScenarioTexts texts{sc.scenario_name, sc.train_name, sc.line.bytes, sc.train.bytes, {}, {}, {}};
        if (rq.documents.empty()) {
            MadeDocuments made = make_documents(
                {rq.sources.line_file, rq.sources.train_file, {}, sc.line.bytes, sc.train.bytes, &sc.result});
            if (!made.texts)
                return fail("i documenti non si ricavano dai sorgenti; nulla è stato scritto");
            texts.notes = std::move(made.texts->notes);
            texts.slowdowns = std::move(made.texts->slowdowns);
            texts.timetable = std::move(made.texts->timetable);
        } else if (auto problem = read_documents(rq.documents, texts)) {
            return fail(*problem);
        }

        RunnerSearch search;
        if (!rq.runner) {
            search = find_runner(runner_name(rq.target), tool_folder);
            if (!search.found)
                return fail(no_runner_message(rq.target, search.looked_in));
        }
        const std::optional<fs::path>& runner = rq.runner ? rq.runner : search.found;
        const std::string program = tratta::read_file(*runner);
        if (!is_program_for(program, rq.target))
            return fail("\"" + display_path(*runner) + "\" non è un programma per " +
                        (rq.target == PackTarget::windows ? "Windows" : "Linux"));
        // What the program would refuse to run is refused here, before anything is written.
        const std::string payload = tratta::encode_payload(texts);
        if (payload.size() - tratta::payload_footer_bytes > tratta::payload_largest)
            return fail("lo scenario occupa " + std::to_string(payload.size() - tratta::payload_footer_bytes) +
                        " byte, oltre i " + std::to_string(tratta::payload_largest) +
                        " byte che il programma legge; nulla è stato scritto");
        const auto unpacked = tratta::decode_payload(payload);
        if (const auto* problem = std::get_if<tratta::PayloadProblem>(&unpacked))
            return fail(problem->message + "; nulla è stato scritto");
        // A runner that already carries a scenario gives up the old one.
        std::string packed = program.substr(0, tratta::program_part(program));
        packed += payload;

        std::error_code ec;
        for (const fs::path* input : {&rq.sources.line_file, &rq.sources.train_file, &*runner})
            if (fs::exists(rq.output, ec) && fs::equivalent(rq.output, *input, ec))
                return fail("il programma da scrivere \"" + display_path(rq.output) +
                            "\" è uno dei file letti: nulla è stato scritto");
        tratta::write_file_replacing(rq.output, packed);
        if (rq.target == PackTarget::linux)
            fs::permissions(rq.output, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec,
                            fs::perm_options::replace, ec);
        report.written.push_back(rq.output);
        report.exit_status = sc.result.outcome == tratta::CompileOutcome::data_error ? 2 : 0;
    } catch (const tratta::FileFailure& failure) {
        return fail(failure.what());
    }
    return report;
}

} // namespace autore

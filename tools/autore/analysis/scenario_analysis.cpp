#include "autore/analysis/scenario_analysis.hpp"

#include "app/compile_purpose.hpp"
#include "model/error_meanings.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;

namespace {

// The warnings that compare the line file with the train's limits: with no
// train file they would stand at every speed board.
bool compares_with_train(const Diagnostic& d) { return d.code == "cartello-velocita-discorde"; }

// What keeps the program from writing any file, when no error says it: the
// error box of a reserved field taken, or no route grid (or a record no file
// can hold) with no error of the check at its line.
std::optional<Diagnostic> run_failure(const tratta::CompileResult& r, const std::vector<Diagnostic>& found)
{
    Diagnostic d;
    d.severity = Severity::error;
    if (r.outcome == tratta::CompileOutcome::error_box) {
        d.code = std::to_string(r.box_number);
        d.message = "il programma si ferma con il messaggio \" Errore n. " + std::to_string(r.box_number) +
                    "\" (" + std::string(tratta::error_meaning(r.box_number)) + "): nessun file scritto";
        return d;
    }
    if (r.outcome == tratta::CompileOutcome::failure &&
        std::none_of(found.begin(), found.end(), [](const Diagnostic& e) { return e.is_error(); })) {
        d.code = "compilazione-fallita";
        d.message = r.failure + ": nessun file scritto";
        return d;
    }
    return std::nullopt;
}

} // namespace

std::shared_ptr<const ScenarioAnalysis> analyse_scenario(AnalysisRequest request)
{
    // The compile's places and fields point into the texts: they are laid in
    // their final place first.
    auto a = std::make_shared<ScenarioAnalysis>();
    a->request = std::move(request);
    const AnalysisRequest& rq = a->request;

    a->compiled = tratta::compile(tratta::compile_input(
        rq.line_table ? tratta::CompilePurpose::check_and_draw : tratta::CompilePurpose::check,
        tratta::SourceText::of(rq.line_source), tratta::SourceText::of(rq.train_source), rq.scenario_name,
        rq.train_name));

    a->report = check_compiled({rq.line_source, rq.train_source, rq.scenario_name, rq.train_name}, a->compiled);
    if (rq.stand_in_train)
        std::erase_if(a->report.diagnostics, [](const Diagnostic& d) {
            return d.place.file == tratta::SourceFile::train || compares_with_train(d);
        });

    a->diagnostics = a->report.diagnostics;
    if (auto failure = run_failure(a->compiled, a->report.diagnostics))
        a->diagnostics.insert(a->diagnostics.begin(), std::move(*failure));
    if (!a->report.complete) {
        Diagnostic d;
        d.severity = Severity::warning;
        d.code = "ricerca-incompleta";
        d.message = "la ricerca degli errori si è fermata dopo i primi: correggerli per vedere gli altri";
        a->diagnostics.push_back(std::move(d));
    }
    return a;
}

std::shared_ptr<const ScenarioAnalysis> AnalysisCache::analyse(AnalysisRequest request)
{
    const auto same = std::find_if(recent_.begin(), recent_.end(),
                                   [&](const auto& kept) { return kept->request == request; });
    if (same != recent_.end()) {
        std::rotate(recent_.begin(), same, same + 1);
        return recent_.front();
    }
    ++made_;
    auto made = analyse_scenario(std::move(request));
    recent_.insert(recent_.begin(), made);
    if (recent_.size() > kept_)
        recent_.resize(kept_);
    return made;
}

std::optional<std::string> SourceFileCache::read(const fs::path& file, std::size_t limit)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::is_regular_file(status)) {
        kept_.erase(file);
        return std::nullopt;
    }
    const auto size = fs::file_size(file, ec);
    const auto modified = fs::last_write_time(file, ec);
    if (ec || size > limit) {
        kept_.erase(file);
        return std::nullopt;
    }
    if (const auto it = kept_.find(file); it != kept_.end() && it->second.modified == modified &&
                                          it->second.size == size)
        return it->second.bytes;

    ++reads_;
    kept_.erase(file);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad() || bytes.size() > limit)
        return std::nullopt;
    // A file still being written is read again next time.
    if (bytes.size() != size)
        return bytes;
    kept_[file] = {modified, size, bytes};
    return bytes;
}

} // namespace autore

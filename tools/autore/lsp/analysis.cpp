#include "autore/lsp/analysis.hpp"

#include "autore/analysis/check.hpp"
#include "model/code_page.hpp"
#include "model/error_meanings.hpp"

#include <algorithm>

namespace autore::lsp {

namespace {

// The warnings that compare the line file with the train's limits: with no
// train file they would stand at every speed board.
bool compares_with_train(const Diagnostic& d) { return d.code == "cartello-velocita-discorde"; }

// What keeps the program from writing any file, when no error says it.
void add_run_failure(const tratta::CompileResult& r, std::vector<Diagnostic>& out)
{
    Diagnostic d;
    d.severity = Severity::error;
    if (r.outcome == tratta::CompileOutcome::error_box) {
        d.code = std::to_string(r.box_number);
        d.message = "il programma si ferma con il messaggio \" Errore n. " + std::to_string(r.box_number) +
                    "\" (" + std::string(tratta::error_meaning(r.box_number)) + "): nessun file scritto";
    } else if (r.outcome == tratta::CompileOutcome::failure &&
               std::none_of(out.begin(), out.end(), [](const Diagnostic& e) { return e.is_error(); })) {
        d.code = "compilazione-fallita";
        d.message = r.failure + ": nessun file scritto";
    } else {
        return;
    }
    out.insert(out.begin(), std::move(d));
}

} // namespace

Side Side::of_editor(std::string uri, std::string utf8)
{
    Side s;
    s.uri = std::move(uri);
    s.bytes = to_cp1252(utf8);
    s.utf8 = std::move(utf8);
    s.lines = LineIndex(s.utf8);
    return s;
}

Side Side::of_disk(std::string uri, std::string bytes)
{
    Side s;
    s.uri = std::move(uri);
    s.utf8 = tratta::cp1252_to_utf8(bytes);
    s.bytes = std::move(bytes);
    s.lines = LineIndex(s.utf8);
    return s;
}

Side Side::empty_train()
{
    Side s = of_disk({}, "[generale]\r\n[fine]\r\n");
    s.uri.clear();
    return s;
}

std::shared_ptr<const Analysis> analyse(Side line, Side train, std::string scenario_name, std::string train_name)
{
    // The compile's fields point into the bytes: they are laid in their final place first.
    auto a = std::make_shared<Analysis>();
    a->line = std::move(line);
    a->train = std::move(train);
    a->scenario_name = std::move(scenario_name);
    a->train_name = std::move(train_name);

    tratta::CompileInput input{tratta::SourceText::of(a->line.bytes), tratta::SourceText::of(a->train.bytes),
                               a->scenario_name, a->train_name, true};
    input.note_origins = true;
    input.trace_fields = true;
    a->compiled = tratta::compile(input);
    const CheckInput check{a->line.bytes, a->train.bytes, a->scenario_name, a->train_name};
    CheckReport report = check_compiled(check, a->compiled);
    a->diagnostics = std::move(report.diagnostics);
    add_run_failure(a->compiled, a->diagnostics);
    if (!report.complete) {
        Diagnostic d;
        d.severity = Severity::warning;
        d.code = "ricerca-incompleta";
        d.message = "la ricerca degli errori si è fermata dopo i primi: correggerli per vedere gli altri";
        a->diagnostics.push_back(std::move(d));
    }
    if (a->train.stand_in())
        std::erase_if(a->diagnostics, [](const Diagnostic& d) {
            return d.place.file == tratta::SourceFile::train || compares_with_train(d);
        });
    // The binary images are not needed by anything the editor asks.
    a->compiled.files = {};
    return a;
}

} // namespace autore::lsp

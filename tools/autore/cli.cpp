#include "autore/cli.hpp"

#include "app/files.hpp"
#include "autore/check/check_command.hpp"
#include "autore/view/view_sources.hpp"
#include "autore/compile_sources.hpp"
#include "autore/documents/documents.hpp"
#include "autore/dump.hpp"
#include "autore/export_template.hpp"
#include "autore/lsp/serve.hpp"
#include "autore/plot.hpp"
#include "autore/view/view_page.hpp"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace autore {

namespace {

template <typename Report>
int finish(const Report& report, std::ostream& out, std::ostream& err)
{
    for (const auto& file : report.written)
        out << "scritto " << tratta::display_path(file) << '\n';
    if constexpr (requires { report.diagnostics; })
        write_text(report.diagnostics, report.names, err);
    for (const auto& problem : report.problems)
        err << problem << '\n';
    return report.exit_status;
}

// The two source files and the train's rates, as documents and timetable take them.
struct ScenarioOptions {
    ScenarioRun run;
    double decel = 0; // 0: from the braked-mass percentage

    void add_to(CLI::App& cmd)
    {
        cmd.add_option("LINEFILE", run.line_file, "file della linea, \"<scenario>_linea.txt\"")->required();
        cmd.add_option("TRAINFILE", run.train_file, "file del treno, \"<scenario>_<treno>-.txt\"")->required();
        cmd.add_option("--accel", run.dynamics.accel_ms2, "accelerazione del treno in m/s² (predefinita 0.3)")
            ->check(CLI::PositiveNumber);
        cmd.add_option("--decel", decel,
                       "decelerazione di frenatura in m/s² (predefinita: 0.5 per ogni 100% di massa frenata)")
            ->check(CLI::PositiveNumber);
        cmd.add_option("--dwell", run.dynamics.dwell_s, "sosta minima nelle fermate, in secondi (predefinita 60)")
            ->check(CLI::NonNegativeNumber);
    }
    ScenarioRun resolved() const
    {
        ScenarioRun r = run;
        if (decel > 0)
            r.dynamics.decel_ms2 = decel;
        return r;
    }
};

} // namespace

int run_autore(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"autore: scrivere, compilare e guardare uno scenario di Tratta", "autore"};
    app.require_subcommand(1);

    // export DIR
    std::string export_dir;
    bool export_force = false;
    auto* export_cmd = app.add_subcommand(
        "export", "scrive in DIR i cinque file di testo dello scenario incorporato, come modello da cui partire");
    export_cmd->add_option("DIR", export_dir, "cartella di destinazione (creata se manca)")->required();
    export_cmd->add_flag("--force", export_force, "sovrascrive i file che esistono già");

    // compile LINEFILE TRAINFILE
    CompileRequest compile;
    std::string compile_out = ".";
    bool no_line_table = false;
    auto* compile_cmd = app.add_subcommand(
        "compile", "compila il file della linea e il file del treno nei tre file binari del simulatore; "
                   "i file sorgente non vengono mai toccati");
    compile_cmd->add_option("LINEFILE", compile.line_file, "file della linea, \"<scenario>_linea.txt\"")
        ->required();
    compile_cmd->add_option("TRAINFILE", compile.train_file, "file del treno, \"<scenario>_<treno>-.txt\"")
        ->required();
    compile_cmd->add_option("-o,--output", compile_out, "cartella dei file binari (predefinita: quella corrente)");
    compile_cmd->add_option("--scenario", compile.scenario, "nome dello scenario (predefinito: dal file della linea)");
    compile_cmd->add_option("--train", compile.train, "nome del treno (predefinito: dal file del treno)");
    compile_cmd->add_flag("--no-line-table", no_line_table, "non costruisce né scrive la tabella _linea.dat");
    compile_cmd->footer("Stato d'uscita: 0 compilato senza errori, 2 errore nei dati (file scritti come li "
                        "scrive il programma), 1 nessun file scritto.");

    // check LINEFILE TRAINFILE
    CompileRequest check_files_given;
    CheckOptions check_options;
    std::string check_format = "text";
    auto* check_cmd = app.add_subcommand(
        "check", "controlla il file della linea e il file del treno: tutti gli errori, ciascuno al suo posto, e gli "
                 "avvisi per ciò che il programma accetta ma quasi certamente non si voleva; non scrive nulla");
    check_cmd->add_option("LINEFILE", check_files_given.line_file, "file della linea, \"<scenario>_linea.txt\"")
        ->required();
    check_cmd->add_option("TRAINFILE", check_files_given.train_file, "file del treno, \"<scenario>_<treno>-.txt\"")
        ->required();
    check_cmd->add_option("--format", check_format, "text (predefinito), json o sarif")
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    check_cmd->add_flag("--strict", check_options.strict, "anche gli avvisi danno lo stato 2");
    check_cmd->add_option("--scenario", check_files_given.scenario, "nome dello scenario (predefinito: dal file della linea)");
    check_cmd->add_option("--train", check_files_given.train, "nome del treno (predefinito: dal file del treno)");
    check_cmd->footer("Stato d'uscita: 0 nessun errore (anche con avvisi, salvo --strict), 2 errori, "
                      "1 controllo impossibile (un file illeggibile).");

    // dump FILE
    std::string dump_path;
    std::string dump_type;
    DumpOptions dump;
    auto* dump_cmd = app.add_subcommand("dump", "mostra il contenuto di un file .sim, .dat o _linea.dat");
    dump_cmd->add_option("FILE", dump_path, "il file da leggere")->required();
    dump_cmd->add_option("--type", dump_type, "tipo del file, se il nome non lo dice")
        ->check(CLI::IsMember({"sim", "dat", "linea"}));
    dump_cmd->add_flag("--json", dump.json, "scrive JSON invece del testo");
    dump_cmd->add_option("--step", dump.step_m, "_linea.dat: un punto ogni tanti metri (predefinito 1000)")
        ->check(CLI::PositiveNumber);
    dump_cmd->add_flag("--objects", dump.objects_only, ".dat: solo le celle con un oggetto");

    // plot DIR | FILES...
    std::vector<std::string> plot_inputs;
    PlotOptions plot;
    std::string plot_out;
    auto* plot_cmd = app.add_subcommand(
        "plot", "disegna in SVG la pianta della linea e il profilo del percorso di uno scenario compilato");
    plot_cmd->add_option("INPUT", plot_inputs, "una cartella, oppure i file .sim, .dat e _linea.dat")
        ->required()
        ->expected(1, 3);
    plot_cmd->add_option("-o,--output", plot_out, "il file SVG da scrivere")->required();
    plot_cmd->add_option("--scenario", plot.scenario, "scelta dello scenario nella cartella");
    plot_cmd->add_option("--train", plot.train, "scelta del treno nella cartella");

    // view DIR | FILES...
    std::vector<std::string> view_inputs;
    std::vector<std::string> view_sources;
    ViewOptions view;
    std::string view_out;
    auto* view_cmd = app.add_subcommand(
        "view", "scrive una pagina HTML che si apre dal disco: pianta e profilo del percorso da ingrandire e "
                "scorrere, ogni oggetto con i suoi valori");
    view_cmd->add_option("INPUT", view_inputs, "una cartella, oppure i file .sim, .dat e _linea.dat")
        ->required()
        ->expected(1, 3);
    view_cmd->add_option("-o,--output", view_out, "la pagina HTML da scrivere")->required();
    view_cmd->add_option("--sources", view_sources, "il file della linea e il file del treno dello scenario")
        ->expected(2)
        ->check(CLI::ExistingFile);
    view_cmd->add_option("--scenario", view.scenario, "scelta dello scenario nella cartella");
    view_cmd->add_option("--train", view.train, "scelta del treno nella cartella");
    view_cmd->footer("Tasti nella pagina: + e - ingrandiscono e riducono, le frecce scorrono, Inizio mostra "
                     "tutto il percorso.");

    // documents LINEFILE TRAINFILE
    ScenarioOptions documents;
    std::string documents_out = ".";
    auto* documents_cmd = app.add_subcommand(
        "documents", "scrive la scheda treno, l'ordine di rallentamento e le note per il macchinista, ricavati dal "
                     "file della linea e dal file del treno");
    documents.add_to(*documents_cmd);
    documents_cmd->add_option("-o,--output", documents_out, "cartella dei documenti (predefinita: quella corrente)");

    // timetable LINEFILE TRAINFILE
    ScenarioOptions timetable;
    auto* timetable_cmd = app.add_subcommand(
        "timetable", "verifica che l'orario del treno si possa rispettare e calcola l'orario di ogni stazione");
    timetable.add_to(*timetable_cmd);
    timetable_cmd->footer("Stato d'uscita: 0 orario rispettabile, 2 orario da correggere o errore nei dati, "
                          "1 nulla calcolato.");

    // lsp
    auto* lsp_cmd = app.add_subcommand("lsp", "server del linguaggio (LSP) su standard input e output, per gli editor: "
                                              "diagnostiche, descrizioni e completamento mentre si scrive");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        return status == 0 ? 0 : 1;
    }

    if (*export_cmd)
        return finish(export_template(export_dir, export_force), out, err);
    if (*compile_cmd) {
        compile.out_dir = compile_out;
        compile.line_table = !no_line_table;
        return finish(compile_sources(compile), out, err);
    }
    if (*check_cmd) {
        check_options.format = check_format == "json"    ? CheckFormat::json
                               : check_format == "sarif" ? CheckFormat::sarif
                                                         : CheckFormat::text;
        return check_files(check_files_given, check_options, out, err);
    }
    if (*dump_cmd) {
        if (!dump_type.empty())
            dump.kind = kind_from_word(dump_type);
        return dump_file(dump_path, dump, out, err);
    }
    if (*plot_cmd) {
        std::vector<std::filesystem::path> inputs(plot_inputs.begin(), plot_inputs.end());
        return finish(plot_route(inputs, plot_out, plot), out, err);
    }
    if (*view_cmd) {
        std::vector<std::filesystem::path> inputs(view_inputs.begin(), view_inputs.end());
        ViewExtras extras;
        if (view_sources.size() == 2) {
            CompileRequest sources;
            sources.line_file = view_sources[0];
            sources.train_file = view_sources[1];
            if (auto problem = add_sources(sources, extras)) {
                err << "autore: " << *problem << '\n';
                return 1;
            }
        }
        return finish(view_route(inputs, view_out, view, extras), out, err);
    }
    if (*documents_cmd)
        return finish(write_documents(documents.resolved(), documents_out), out, err);
    if (*timetable_cmd) {
        const TimetableReport report = check_timetable(timetable.resolved());
        out << report.table;
        for (const auto& problem : report.problems)
            err << problem << '\n';
        return report.exit_status;
    }
    if (*lsp_cmd)
        return lsp::serve(0, 1, err);
    return 1;
}

} // namespace autore

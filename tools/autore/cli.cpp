#include "autore/cli.hpp"

#include "app/files.hpp"
#include "app/platform.hpp"
#include "autore/check/check_command.hpp"
#include "autore/command_line/command_line.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "autore/driver_documents/documents.hpp"
#include "autore/dump/dump.hpp"
#include "autore/compile/export_template.hpp"
#include "autore/dump/editor_files.hpp"
#include "autore/diagnostics/rule_summaries.hpp"
#include "autore/dump/formats_doc.hpp"
#include "autore/scenario_files/input_files.hpp"
#include "autore/lsp/serve.hpp"
#include "autore/pack/pack.hpp"
#include "autore/plot/plot.hpp"
#include "autore/decompile/decompile.hpp"
#include "autore/diff/diff_command.hpp"
#include "autore/version.hpp"
#include "autore/route_page/view_page.hpp"
#ifdef AUTORE_SERVE
#include "autore/serve/serve_command.hpp"
#endif
#include "autore/analysis/view_sources.hpp"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace autore {

namespace {

// The tool's own one-line problems begin with "autore:"; what stands in one
// of the author's files is a diagnostic, which begins with the file.
void print_problems(const std::vector<std::string>& problems, std::ostream& err)
{
    for (const auto& problem : problems)
        err << "autore: " << problem << '\n';
}

template <typename Report> int finish(const Report& report, std::ostream& out, std::ostream& err)
{
    for (const auto& file : report.written)
        out << "scritto " << tratta::display_path(file) << '\n';
    if constexpr (requires { report.diagnostics; })
        write_text(report.diagnostics, report.names, err);
    print_problems(report.problems, err);
    return report.exit_status;
}

std::vector<std::filesystem::path> paths_from_utf8(const std::vector<std::string>& texts)
{
    std::vector<std::filesystem::path> paths;
    for (const auto& t : texts)
        paths.push_back(path_from_utf8(t));
    return paths;
}

const std::string line_file_words = "file della linea, «<scenario>_linea.txt»";
const std::string train_file_words = "file del treno, «<scenario>_<treno>-.txt»";
const std::string compiled_words = "una cartella, oppure i file .sim, .dat e _linea.dat uno per uno";

// The two source files, as compile and check take them.
struct SourceArguments {
    std::string line_file;
    std::string train_file;
    std::string scenario;
    std::string train;

    void add_to(Command& c)
    {
        c.argument("FILE_LINEA", line_file, line_file_words);
        c.argument("FILE_TRENO", train_file, train_file_words);
        c.option("--scenario", scenario, "NOME", "nome dello scenario (predefinito: dal nome del file della linea)");
        c.option("--train", train, "NOME", "nome del treno (predefinito: dal nome del file del treno)");
    }
    CompileRequest request() const
    {
        CompileRequest rq;
        rq.line_file = path_from_utf8(line_file);
        rq.train_file = path_from_utf8(train_file);
        rq.scenario = scenario;
        rq.train = train;
        return rq;
    }
};

// What a train can do. A starting acceleration from a slow freight train's
// 0.05 m/s² to a light railcar's 2; service braking from 0.05 m/s² to the
// emergency braking of a train with magnetic track brakes, about 3; a stop
// from none to a whole day.
constexpr RealRange accel_range{0.05, 2, "m/s²"};
constexpr RealRange decel_range{0.05, 3, "m/s²"};
constexpr RealRange dwell_range{0, 86400, "s"};

// The two source files and the train's rates, as documents and timetable take them.
struct ScenarioArguments {
    std::string line_file;
    std::string train_file;
    TrainDynamics dynamics;
    double decel = 0; // 0: from the braked-mass percentage

    void add_to(Command& c)
    {
        c.argument("FILE_LINEA", line_file, line_file_words);
        c.argument("FILE_TRENO", train_file, train_file_words);
        c.real_number("--accel", dynamics.accel_ms2, accel_range, "M/S²", "accelerazione del treno (predefinita 0.3)");
        c.real_number("--decel", decel, decel_range, "M/S²",
                      "decelerazione di frenatura (predefinita: 0.5 per ogni 100% di massa frenata)");
        c.real_number("--dwell", dynamics.dwell_s, dwell_range, "SECONDI", "sosta minima nelle fermate (predefinita 60)");
    }
    ScenarioRun run() const
    {
        ScenarioRun r{path_from_utf8(line_file), path_from_utf8(train_file), dynamics, std::nullopt, std::nullopt};
        if (decel > 0)
            r.dynamics.decel_ms2 = decel;
        return r;
    }
};

// Which compiled scenario to draw, as plot and view take it.
struct CompiledArguments {
    std::vector<std::string> inputs;
    std::string scenario;
    std::string train;
    std::string output;

    void add_to(Command& c, const std::string& output_name, const std::string& output_words)
    {
        c.arguments("INGRESSO", inputs, 1, 3, compiled_words);
        c.option("-o,--output", output, output_name, output_words, true)->required();
        c.option("--scenario", scenario, "NOME", "lo scenario da scegliere nella cartella");
        c.option("--train", train, "NOME", "il treno da scegliere nella cartella");
    }
};

} // namespace

int run_autore(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CommandLine line("autore", "scrivere, compilare e guardare uno scenario di Tratta", std::string(tool_version));
    line.footer("Stato d'uscita: 0 fatto; 1 nulla fatto o nulla scritto (un file che manca, che non si legge o "
                "non si scrive); 2 errore nei dati delle sorgenti; 64 riga di comando sbagliata (nulla letto né "
                "scritto).");

    // export DIR
    std::string export_dir;
    bool export_force = false;
    Command& export_cmd = line.add(
        "export", "scrive in CARTELLA il file della linea e il file del treno dello scenario incorporato, come "
                  "modello da cui partire, e i tre documenti che se ne ricavano",
        [&] { return finish(export_template(path_from_utf8(export_dir), export_force), out, err); });
    export_cmd.argument("CARTELLA", export_dir, "cartella di destinazione (creata se manca)");
    export_cmd.flag("--force", export_force, "sovrascrive i file che esistono già");

    // compile LINEFILE TRAINFILE
    SourceArguments compile;
    std::string compile_out = ".";
    bool no_line_table = false;
    Command& compile_cmd = line.add(
        "compile",
        "compila il file della linea e il file del treno nei tre file binari del simulatore; i file sorgente non "
        "vengono mai toccati",
        [&] {
            CompileRequest rq = compile.request();
            rq.out_dir = path_from_utf8(compile_out);
            rq.line_table = !no_line_table;
            return finish(compile_sources(rq), out, err);
        });
    compile.add_to(compile_cmd);
    compile_cmd.option("-o,--output", compile_out, "CARTELLA", "cartella dei file binari (predefinita: quella corrente)",
                       true);
    compile_cmd.flag("--no-line-table", no_line_table, "non costruisce né scrive la tabella _linea.dat");
    compile_cmd.footer("Stato d'uscita: 0 compilato senza errori, 2 errore nei dati (file scritti come li scrive "
                       "il programma), 1 nessun file scritto, 64 riga di comando sbagliata.");

    // check LINEFILE TRAINFILE
    SourceArguments check;
    std::string check_format = "text";
    CheckOptions check_options;
    Command& check_cmd = line.add(
        "check",
        "controlla il file della linea e il file del treno: tutti gli errori, ciascuno al suo posto, e gli avvisi "
        "per ciò che il programma accetta ma quasi certamente non si voleva; non scrive nulla",
        [&] {
            check_options.format = check_format == "json"    ? CheckFormat::json
                                   : check_format == "sarif" ? CheckFormat::sarif
                                                             : CheckFormat::text;
            return check_files(check.request(), check_options, out, err);
        });
    check.add_to(check_cmd);
    check_cmd.choice("--format", check_format, {"text", "json", "sarif"}, "forma del rapporto (predefinita text)");
    check_cmd.flag("--strict", check_options.strict, "anche gli avvisi danno lo stato 2");
    std::string rule_names;
    for (const RuleSummary& r : warning_rules())
        rule_names += (rule_names.empty() ? "" : ", ") + std::string(r.code);
    check_cmd.footer("Stato d'uscita: 0 nessun errore (anche con avvisi, salvo --strict), 2 errori, 1 controllo "
                     "impossibile (un file che manca o non si legge), 64 riga di comando sbagliata. Codici: il numero "
                     "dell'errore del programma, o il nome della regola: " + rule_names + ".");

    // dump FILE
    std::string dump_path;
    std::string dump_type;
    int64_t dump_step = 1000;
    DumpOptions dump;
    CLI::Option* dump_step_option = nullptr;
    Command& dump_cmd = line.add(
        "dump", "mostra il contenuto di un file .sim, .dat o _linea.dat, ogni campo con il suo significato e il "
                "campo della sorgente da cui viene",
        [&] {
            if (!dump_type.empty())
                dump.kind = kind_from_word(dump_type);
            if (dump_step_option->count() > 0)
                dump.step_m = dump_step;
            return dump_file(path_from_utf8(dump_path), dump, out, err);
        });
    dump_cmd.argument("FILE", dump_path, "il file da leggere");
    dump_cmd.choice("--type", dump_type, {"sim", "dat", "linea"}, "tipo del file, se il nome non lo dice");
    dump_cmd.flag("--json", dump.json, "scrive JSON invece del testo");
    dump_step_option = dump_cmd.whole_number("--step", dump_step, 1, 10000000, "METRI",
                                             "solo _linea.dat: un punto ogni tanti metri (predefinito 1000)");
    dump_cmd.flag("--objects", dump.objects_only, "solo .dat: solo le celle con un oggetto");

    // plot DIR | FILES...
    CompiledArguments plot;
    Command& plot_cmd = line.add(
        "plot", "disegna in SVG la pianta della linea e il profilo del percorso di uno scenario compilato", [&] {
            PlotOptions options;
            options.scenario = plot.scenario;
            options.train = plot.train;
            return finish(plot_route(paths_from_utf8(plot.inputs), path_from_utf8(plot.output), options), out, err);
        });
    plot.add_to(plot_cmd, "FILE_SVG", "il file SVG da scrivere");

    // decompile DIR | FILES... -o DIR
    CompiledArguments decompile;
    bool decompile_force = false;
    Command& decompile_cmd = line.add(
        "decompile",
        "riscrive il file della linea e il file del treno da cui viene uno scenario compilato, e controlla che "
        "compilati diano gli stessi file binari",
        [&] {
            DecompileRequest rq{paths_from_utf8(decompile.inputs), path_from_utf8(decompile.output),
                                decompile.scenario, decompile.train, decompile_force};
            const DecompileReport report = decompile_scenario(rq);
            for (const auto& message : report.messages)
                out << message << '\n';
            return finish(report, out, err);
        });
    decompile.add_to(decompile_cmd, "CARTELLA", "la cartella dove scrivere i due sorgenti");
    decompile_cmd.flag("--force", decompile_force, "sovrascrive i sorgenti che esistono già");
    decompile_cmd.footer("Stato d'uscita: 0 sorgenti scritti ed esatti (compilati danno gli stessi file, byte per "
                         "byte), 2 scritti ma non esatti (ogni campo che differisce è elencato), 1 nulla scritto, 64 "
                         "riga di comando sbagliata.");

    // diff A B
    std::vector<std::string> diff_inputs;
    std::string diff_format = "text";
    bool diff_git = false;
    Command& diff_cmd = line.add(
        "diff",
        "dice che cosa è cambiato sulla ferrovia fra due versioni di uno scenario, lungo il percorso: stazioni, "
        "segnali, cartelli, profili, pianta e intestazione",
        [&] {
            if (diff_git)
                return git_diff_driver(diff_inputs, out, err);
            // A folder stands for a whole version; else each version takes half the arguments.
            const auto paths = paths_from_utf8(diff_inputs);
            std::error_code ec;
            auto split = static_cast<std::ptrdiff_t>(paths.size() / 2);
            if (std::filesystem::is_directory(paths.front(), ec))
                split = 1;
            else if (std::filesystem::is_directory(paths.back(), ec))
                split = static_cast<std::ptrdiff_t>(paths.size()) - 1;
            else if (paths.size() % 2 != 0)
                throw UsageError("«diff» vuole due versioni: una cartella ciascuna, o lo stesso numero di file "
                                 "ciascuna (per esempio due coppie di sorgenti), non " +
                                 std::to_string(paths.size()) + " file");
            DiffRequest rq{{paths.begin(), paths.begin() + split}, {paths.begin() + split, paths.end()},
                           diff_format == "json"};
            return diff_scenarios(rq, out, err);
        });
    diff_cmd.arguments("VERSIONE", diff_inputs, 2, 7,
                       "le due versioni, ciascuna una cartella, i file compilati o il file della linea e il file del "
                       "treno");
    diff_cmd.choice("--format", diff_format, {"text", "json"}, "forma del rapporto (predefinita text)");
    diff_cmd.flag("--git", diff_git, "come driver di diff di git: percorso, vecchio file, hash, modo, nuovo file, "
                                     "hash, modo");
    diff_cmd.footer("Stato d'uscita: 0 uguali, 1 diversi, 2 un file che manca o non si legge (con --git: 0 salvo "
                    "che un file non si legga), 64 riga di comando sbagliata.");

    // view DIR | FILES...
    CompiledArguments view;
    std::vector<std::string> view_sources;
    Command& view_cmd = line.add(
        "view",
        "scrive una pagina HTML che si apre dal disco: pianta e profilo del percorso da ingrandire e scorrere, "
        "ogni oggetto con i suoi valori",
        [&] {
            ViewExtras extras;
            ViewOptions options;
            options.scenario = view.scenario;
            options.train = view.train;
            if (view_sources.size() == 2) {
                CompileRequest sources;
                sources.line_file = path_from_utf8(view_sources[0]);
                sources.train_file = path_from_utf8(view_sources[1]);
                options.sources = [&extras, sources](const CompiledFiles& binaries) {
                    return add_sources(sources, binaries, extras);
                };
            }
            return finish(view_route(paths_from_utf8(view.inputs), path_from_utf8(view.output), options, extras), out,
                          err);
        });
    view.add_to(view_cmd, "FILE_HTML", "la pagina HTML da scrivere");
    view_cmd.files_option("--sources", view_sources, 2, "FILE_LINEA FILE_TRENO",
                          "il file della linea e il file del treno dello scenario");
    view_cmd.footer("Tasti nella pagina: + e - ingrandiscono e riducono, le frecce scorrono, Inizio mostra tutto il "
                    "percorso.");

#ifdef AUTORE_SERVE
    // serve LINEFILE TRAINFILE
    SourceArguments serve;
    int64_t serve_port = 0;
    bool serve_no_browser = false;
    Command& serve_cmd = line.add(
        "serve",
        "mostra nel browser la pagina del percorso dei due file e la ridisegna a ogni salvataggio, con la "
        "diagnostica sul percorso; solo su questo computer (127.0.0.1), non scrive nulla",
        [&] {
            serve::ServeRequest rq;
            rq.files = serve.request();
            rq.port = static_cast<int>(serve_port);
            rq.open_browser = !serve_no_browser;
            return serve::serve_files(rq, out, err);
        });
    serve.add_to(serve_cmd);
    serve_cmd.whole_number("--porta", serve_port, 1, 65535, "N",
                           "la porta su 127.0.0.1 (predefinita: una libera scelta dal sistema)");
    serve_cmd.flag("--senza-browser", serve_no_browser, "non apre il browser: stampa solo l'indirizzo");
    serve_cmd.footer("Stampa l'indirizzo (http://127.0.0.1:PORTA/) come prima riga. Ctrl-C per finire. Stato "
                     "d'uscita: 0 fermato, 1 non avviato (un file che manca o non si legge, nulla da disegnare, la "
                     "porta occupata), 64 riga di comando sbagliata.");
#endif

    // documents LINEFILE TRAINFILE
    ScenarioArguments documents;
    std::string documents_out = ".";
    Command& documents_cmd = line.add(
        "documents",
        "scrive la scheda treno, l'ordine di rallentamento e le note per il macchinista, ricavati dal file della "
        "linea e dal file del treno",
        [&] {
            return finish(write_documents(documents.run(), path_from_utf8(documents_out)), out, err);
        });
    documents.add_to(documents_cmd);
    documents_cmd.option("-o,--output", documents_out, "CARTELLA", "cartella dei documenti (predefinita: quella corrente)",
                         true);

    // timetable LINEFILE TRAINFILE
    ScenarioArguments timetable;
    Command& timetable_cmd = line.add(
        "timetable", "verifica che l'orario del treno si possa rispettare e calcola l'orario di ogni stazione", [&] {
            const TimetableReport report = check_timetable(timetable.run());
            out << report.table;
            write_text(report.diagnostics, report.names, err);
            print_problems(report.problems, err);
            return report.exit_status;
        });
    timetable.add_to(timetable_cmd);
    timetable_cmd.footer("Stato d'uscita: 0 orario rispettabile, 2 orario da correggere o errore nei dati, 1 nulla "
                         "calcolato, 64 riga di comando sbagliata.");

    // pack LINEFILE TRAINFILE [DOCUMENTS...]
    std::vector<std::string> pack_files;
    std::string pack_scenario_name;
    std::string pack_train_name;
    std::string pack_runner;
    std::string pack_out;
    bool pack_linux = false;
    bool pack_windows = false;
    Command& pack_cmd = line.add(
        "pack",
        "fa dello scenario un programma a sé, come quello incorporato: avviato scrive i suoi testi accanto a sé, li "
        "compila e lascia i tre file binari e i tre documenti",
        [&] {
            if (pack_linux && pack_windows)
                throw UsageError("«--linux» e «--windows» non vanno insieme: il programma è per l'uno o per l'altro");
            PackRequest rq;
            const auto files = paths_from_utf8(pack_files);
            rq.sources.line_file = files[0];
            rq.sources.train_file = files[1];
            rq.sources.scenario = pack_scenario_name;
            rq.sources.train = pack_train_name;
            rq.documents.assign(files.begin() + 2, files.end());
            rq.target = pack_linux ? PackTarget::linux : PackTarget::windows;
            if (!pack_runner.empty())
                rq.runner = path_from_utf8(pack_runner);
            rq.output = path_from_utf8(pack_out);
            return finish(pack_scenario(rq, tratta::platform::program_folder()), out, err);
        });
    pack_cmd.arguments("FILE", pack_files, 2, 5,
                       "il file della linea, il file del treno e, se si vuole, i tre documenti (altrimenti ricavati "
                       "dai sorgenti)");
    pack_cmd.option("-o,--output", pack_out, "PROGRAMMA", "il programma da scrivere", true)->required();
    pack_cmd.flag("--windows", pack_windows, "un programma per Windows (predefinito)");
    pack_cmd.flag("--linux", pack_linux, "un programma per Linux");
    pack_cmd.option("--runner", pack_runner, "PROGRAMMA",
                    "il programma di base da usare (predefinito: tratta_runner accanto ad autore)", true);
    pack_cmd.option("--scenario", pack_scenario_name, "NOME", "nome dello scenario (predefinito: dal nome del file della linea)");
    pack_cmd.option("--train", pack_train_name, "NOME", "nome del treno (predefinito: dal nome del file del treno)");
    pack_cmd.footer("Stato d'uscita: 0 programma scritto, 2 scritto ma le sorgenti hanno un errore nei dati, 1 nulla "
                    "scritto, 64 riga di comando sbagliata.");

    // formats: the reference of the file formats, docs/formats.md
    // formats --editor NAME: a file an editor reads, made from the same key tables
    std::string formats_editor;
    Command& formats_cmd =
        line.add_hidden("formats", "scrive il riferimento dei formati dei file (docs/formats.md)", [&] {
            if (formats_editor.empty()) {
                out << formats_markdown();
                return exit_status::done;
            }
            for (const EditorFile& f : editor_files())
                if (f.name == formats_editor)
                    out << f.make();
            return exit_status::done;
        });
    std::vector<std::string> editor_names;
    for (const EditorFile& f : editor_files())
        editor_names.emplace_back(f.name);
    formats_cmd.choice("--editor", formats_editor, editor_names,
                       "scrive invece il file di un editor (la grammatica di VS Code, il linguaggio di Notepad++)");

    // man: the manual page autore(1), for the release packages
    std::string man_date = "1970-01-01";
    line.add_hidden("man", "scrive la pagina di manuale autore(1) in roff", [&] {
        out << line.man_page(man_date);
        return exit_status::done;
    }).option("--data", man_date, "AAAA-MM-GG", "la data della versione descritta");

    // lsp: the language server, on standard input and output
    line.add("lsp",
             "server del linguaggio (LSP) su standard input e output, per gli editor: diagnostiche, descrizioni e "
             "completamento mentre si scrive",
             [&] { return lsp::serve(0, 1, err); });

    return line.run(argc, argv, out, err);
}

} // namespace autore

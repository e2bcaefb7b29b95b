#include "autore/check/check_command.hpp"

#include "app/files.hpp"
#include "autore/analysis/scenario_analysis.hpp"
#include "autore/diagnostics/report_formats.hpp"
#include "autore/version.hpp"

#include <ostream>

namespace autore {

int check_files(const CompileRequest& files, const CheckOptions& options, std::ostream& out, std::ostream& err)
{
    AuthorFiles read;
    if (auto problem = read_author_files(files, read)) {
        err << "autore: " << *problem << '\n';
        return 1;
    }
    const auto analysis = analyse_scenario({std::move(read.line.bytes), std::move(read.train.bytes),
                                            std::move(read.scenario_name), std::move(read.train_name)});
    const CheckReport& report = analysis->report;
    const SourceNames names{tratta::display_path(files.line_file), tratta::display_path(files.train_file)};
    switch (options.format) {
    case CheckFormat::text:
        write_text(report.diagnostics, names, out);
        break;
    case CheckFormat::json:
        out << diagnostics_json(report.diagnostics, names).dump(1) << '\n';
        break;
    case CheckFormat::sarif:
        out << diagnostics_sarif(report.diagnostics, names, std::string(tool_version)).dump(1) << '\n';
        break;
    }
    if (options.format == CheckFormat::text && !report.complete)
        out << "autore: la ricerca degli errori si è fermata dopo i primi; correggerli e ripetere\n";
    if (report.errors() > 0 || (options.strict && report.warnings() > 0))
        return 2;
    return 0;
}

} // namespace autore

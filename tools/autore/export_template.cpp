#include "autore/export_template.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/scenario_files.hpp"
#include "autore/documents/documents.hpp"
#include "scenario/text_writer.hpp"

#include <system_error>
#include <utility>

namespace autore {

ExportReport export_template(const std::filesystem::path& dir, bool overwrite)
{
    ExportReport report;
    const tratta::FileNames names = tratta::file_names(dir, tratta::scenario_constant, tratta::train_constant);
    // The two sources as the program writes them, and the driver's documents
    // made from them, as the author's own will be.
    const std::pair<std::filesystem::path, tratta::DataSet> sources[] = {
        {names.line_source, tratta::linea_data()},
        {names.train_source, tratta::treno_data()},
    };
    if (!overwrite) {
        for (const auto& file : {names.line_source, names.train_source, names.notes, names.slowdowns, names.timetable})
            if (std::filesystem::exists(file))
                report.problems.push_back("il file \"" + tratta::display_path(file) +
                                          "\" esiste già: nulla è stato scritto (--force lo sovrascrive)");
        if (!report.problems.empty()) {
            report.exit_status = 1;
            return report;
        }
    }
    try {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        for (const auto& [file, lines] : sources) {
            tratta::scrivi_dati(file, lines);
            report.written.push_back(file);
        }
    } catch (const tratta::FileFailure& failure) {
        report.exit_status = 1;
        report.problems.emplace_back(failure.what());
        return report;
    }
    DocumentsReport documents = write_documents({names.line_source, names.train_source, {}}, dir);
    report.written.insert(report.written.end(), documents.written.begin(), documents.written.end());
    report.problems.insert(report.problems.end(), documents.problems.begin(), documents.problems.end());
    report.exit_status = documents.exit_status == 0 ? 0 : 1;
    return report;
}

} // namespace autore

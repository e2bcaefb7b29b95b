#include "autore/export_template.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/scenario_files.hpp"

#include <system_error>
#include <utility>

namespace autore {

ExportReport export_template(const std::filesystem::path& dir, bool overwrite)
{
    ExportReport report;
    const tratta::FileNames names = tratta::file_names(dir, tratta::scenario_constant, tratta::train_constant);
    // In the order the program writes them.
    const std::pair<std::filesystem::path, tratta::DataSet> files[] = {
        {names.line_source, tratta::linea_data()},        {names.train_source, tratta::treno_data()},
        {names.notes, tratta::note_data()},               {names.slowdowns, tratta::rallentamenti_data()},
        {names.timetable, tratta::scheda_data()},
    };
    if (!overwrite) {
        for (const auto& [file, lines] : files)
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
        for (const auto& [file, lines] : files) {
            tratta::scrivi_dati(file, lines);
            report.written.push_back(file);
        }
    } catch (const tratta::FileFailure& failure) {
        report.exit_status = 1;
        report.problems.emplace_back(failure.what());
    }
    return report;
}

} // namespace autore

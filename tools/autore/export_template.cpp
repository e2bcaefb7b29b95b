#include "autore/export_template.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "scenario/text_writer.hpp"

#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

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
    // A name taken by anything, a dangling link too, is an author's.
    for (const auto& [file, lines] : files) {
        std::error_code ec;
        if (!overwrite && std::filesystem::exists(std::filesystem::symlink_status(file, ec)))
            report.problems.push_back("il file \"" + tratta::display_path(file) +
                                      "\" esiste già: nulla è stato scritto (--force lo sovrascrive)");
    }
    if (!report.problems.empty()) {
        report.exit_status = 1;
        return report;
    }
    // All five are made before any takes its place: a name that is not a
    // regular file (a folder, a link, a device) refuses the whole template.
    try {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        std::vector<tratta::StagedFile> staged;
        staged.reserve(std::size(files));
        for (const auto& [file, lines] : files)
            staged.emplace_back(file, tratta::encode_data_set(lines));
        tratta::replace_together(staged);
        for (const auto& [file, lines] : files)
            report.written.push_back(file);
    } catch (const tratta::FileFailure& failure) {
        report.exit_status = 1;
        report.problems.emplace_back(failure.what());
    }
    return report;
}

} // namespace autore

#include "autore/compile/export_template.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/scenario_texts.hpp"

#include <system_error>
#include <utility>
#include <vector>

namespace autore {

ExportReport export_template(const std::filesystem::path& dir, bool overwrite)
{
    ExportReport report;
    const tratta::FileNames names = tratta::file_names(dir, tratta::scenario_constant, tratta::train_constant);
    // The embedded program's five texts, byte for byte, in the order the
    // program writes them: the template is the embedded scenario itself.
    const tratta::ScenarioTexts texts = tratta::embedded_texts();
    const std::pair<std::filesystem::path, const std::string*> files[] = {
        {names.line_source, &texts.line},
        {names.train_source, &texts.train},
        {names.notes, &texts.notes},
        {names.slowdowns, &texts.slowdowns},
        {names.timetable, &texts.timetable},
    };
    // A name taken by anything, a dangling link too, is an author's.
    for (const auto& [file, text] : files) {
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
        for (const auto& [file, text] : files)
            staged.emplace_back(file, *text);
        tratta::replace_together(staged);
        for (const auto& [file, text] : files)
            report.written.push_back(file);
    } catch (const tratta::FileFailure& failure) {
        report.exit_status = 1;
        report.problems.emplace_back(failure.what());
    }
    return report;
}

} // namespace autore

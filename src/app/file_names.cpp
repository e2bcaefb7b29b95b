#include "app/file_names.hpp"

#include "model/code_page.hpp"

namespace tratta {

std::filesystem::path in_folder(const std::filesystem::path& folder, const std::string& name)
{
#ifdef _WIN32
    return folder / cp1252_to_wide(name);
#else
    return folder / std::filesystem::path(cp1252_to_utf8(name));
#endif
}

FileNames file_names(const std::filesystem::path& folder, const std::string& s, const std::string& t)
{
    FileNames f;
    f.line_source = in_folder(folder, s + "_linea.txt");
    f.train_source = in_folder(folder, s + "_" + t + "-.txt");
    f.notes = in_folder(folder, s + "_" + t + "_" + "note.txt");
    f.slowdowns = in_folder(folder, s + "_" + t + "_" + "rallentamenti.txt");
    f.timetable = in_folder(folder, s + "_" + t + "_" + "scheda_treno.txt");
    f.line_table = in_folder(folder, s + "_linea.dat");
    f.records = in_folder(folder, s + "_" + t + ".sim");
    f.grid = in_folder(folder, s + "_" + t + ".dat");
    return f;
}

} // namespace tratta

#include "app/file_names.hpp"

#include "app/file_checks.hpp"
#include "model/code_page.hpp"

#include <array>

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

std::string without_control_bytes(std::string_view text)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            out.push_back(c);
            continue;
        }
        out += "\\x";
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    }
    return out;
}

namespace {

constexpr std::string_view forbidden = "/\\:*?\"<>|";

// The names Windows keeps for its devices, whatever follows them after a dot.
bool is_device_name(std::string_view name)
{
    const std::string stem = lower_cp1252(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> plain = {"con", "prn", "aux", "nul"};
    for (const auto device : plain)
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

std::string in_quotes(std::string_view name) { return "\"" + without_control_bytes(cp1252_to_utf8(name)) + "\""; }

} // namespace

std::optional<std::string> name_problem(std::string_view name)
{
    if (name.empty())
        return std::string("nome vuoto");
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (forbidden.find(c) != std::string_view::npos)
            return "il nome " + in_quotes(name) + " contiene il carattere " + in_quotes(std::string(1, c)) +
                   ", che non può stare in un nome di file";
        if (b < 0x20 || b == 0x7F)
            return "il nome " + in_quotes(name) + " contiene un carattere di controllo";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "il nome " + in_quotes(name) + " finisce con un punto o uno spazio";
    if (is_device_name(name))
        return "il nome " + in_quotes(name) + " è quello di un dispositivo di Windows";
    return std::nullopt;
}

std::optional<std::string> names_problem(std::string_view scenario_name, std::string_view train_name)
{
    if (auto p = name_problem(scenario_name))
        return "nome dello scenario: " + *p;
    if (auto p = name_problem(train_name))
        return "nome del treno: " + *p;
    const FileNames names = file_names(std::filesystem::path(), std::string(scenario_name), std::string(train_name));
    for (const auto* file : {&names.line_source, &names.train_source, &names.notes, &names.slowdowns,
                             &names.timetable, &names.line_table, &names.records, &names.grid})
        if (auto p = name_length_problem(*file))
            return "nomi troppo lunghi: " + *p;
    return std::nullopt;
}

} // namespace tratta

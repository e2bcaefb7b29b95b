#include "autore/diff/diff_command.hpp"

#include "autore/diff/railway_changes.hpp"
#include "autore/route/official_km.hpp"
#include "autore/scenario_files/input_files.hpp"

#include <nlohmann/json.hpp>

namespace autore {

namespace {

void write_text(const std::vector<RailwayChange>& changes, std::ostream& out)
{
    for (const auto& c : changes)
        out << (c.at_m ? "" : "intestazione: ") << c.text << '\n';
}

void write_json(const std::vector<RailwayChange>& changes, std::ostream& out)
{
    auto list = nlohmann::json::array();
    for (const auto& c : changes) {
        nlohmann::json item{{"what", c.what}, {"change", c.change}, {"text", c.text}};
        item["at_m"] = c.at_m ? nlohmann::json(*c.at_m) : nlohmann::json(nullptr);
        item["km"] = c.km_m ? nlohmann::json(km_text(*c.km_m)) : nlohmann::json(nullptr);
        list.push_back(std::move(item));
    }
    out << list.dump(2) << '\n';
}

} // namespace

int diff_scenarios(const DiffRequest& rq, std::ostream& out, std::ostream& err)
{
    std::vector<RailwayChange> changes;
    try {
        const RailwaySide a = read_side(rq.a);
        const RailwaySide b = read_side(rq.b);
        const bool comparable = (a.records && b.records) || (a.cells && b.cells) || (a.plan && b.plan);
        if (!comparable) {
            err << "autore: " << a.label << " e " << b.label << " non hanno parti da confrontare (un .sim con un "
                                                               ".sim, un .dat con un .dat, una pianta con una pianta)\n";
            return 2;
        }
        changes = railway_changes(a, b);
    } catch (const DiffTrouble& e) {
        err << "autore: " << e.what() << '\n';
        return 2;
    }
    if (rq.json)
        write_json(changes, out);
    else
        write_text(changes, out);
    return changes.empty() ? 0 : 1;
}

int git_diff_driver(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 7) {
        err << "autore: il driver di git riceve 7 argomenti (percorso, vecchio file, hash, modo, nuovo file, hash, "
               "modo), non "
            << args.size() << '\n';
        return 2;
    }
    const std::filesystem::path path = path_from_utf8(args[0]);
    out << "diff --tratta a/" << args[0] << " b/" << args[0] << '\n';
    if (args[1] == "/dev/null") {
        out << "file nuovo\n";
        return 0;
    }
    if (args[4] == "/dev/null") {
        out << "file tolto\n";
        return 0;
    }
    try {
        const RailwaySide a = read_side({path_from_utf8(args[1])}, path);
        const RailwaySide b = read_side({path_from_utf8(args[4])}, path);
        const auto changes = railway_changes(a, b);
        write_text(changes, out);
        if (changes.empty())
            out << "nessun cambiamento sulla ferrovia (cambiano solo byte che non dicono nulla della linea)\n";
    } catch (const DiffTrouble& e) {
        err << "autore: " << e.what() << '\n';
        return 2;
    }
    return 0;
}

} // namespace autore

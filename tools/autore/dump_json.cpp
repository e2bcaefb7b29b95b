// The compiled files as JSON: every field by its name, texts in UTF-8.
#include "autore/dump.hpp"
#include "autore/table_fields.hpp"

#include "model/code_page.hpp"

namespace autore {

// Fields keep the order they have on disk.
using json = nlohmann::ordered_json;

json records_json(const tratta::ScenarioRecords& records)
{
    json list = json::array();
    for (int i = 0; i < tratta::ScenarioRecords::count; ++i) {
        json r = {{"index", i}};
        for (const auto& f : record_fields(records[i]))
            r[std::string(f.name)] = f.value;
        r["text"] = tratta::cp1252_to_utf8(records[i].text);
        list.push_back(std::move(r));
    }
    return {{"type", "sim"}, {"records", std::move(list)}};
}

json cells_json(const std::vector<tratta::RouteCell>& cells, bool objects_only)
{
    json list = json::array();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (objects_only && cells[i].kind == tratta::kind_none)
            continue;
        json c = {{"index", i}, {"m", i * 50}, {"kind_name", kind_name(cells[i].kind)}};
        for (const auto& f : cell_fields(cells[i]))
            c[std::string(f.name)] = f.value;
        list.push_back(std::move(c));
    }
    return {{"type", "dat"}, {"last_cell", cells.size() - 1}, {"cells", std::move(list)}};
}

json line_table_json(const tratta::DecodedLineProfile& table, int64_t step_m)
{
    const LineTableSummary sum = summarise(table);
    json points = json::array();
    const auto coordinate = [&table](int64_t m, int r) -> json {
        if (table.tag(m, r) == tratta::ProfileTag::empty)
            return nullptr;
        return table.get(m, r);
    };
    for (const int64_t m : sample_metres(sum.last_m, step_m))
        points.push_back({{"m", m}, {"x", coordinate(m, 0)}, {"y", coordinate(m, 1)}});
    json doc = {{"type", "linea"},
                {"last_m", sum.last_m},
                {"step_m", step_m},
                {"elements", {{"empty", sum.empty}, {"int16", sum.whole}, {"real", sum.real}}}};
    if (sum.has_points)
        doc["extent"] = {{"min_x", sum.min_x}, {"max_x", sum.max_x}, {"min_y", sum.min_y}, {"max_y", sum.max_y}};
    doc["points"] = std::move(points);
    return doc;
}

} // namespace autore

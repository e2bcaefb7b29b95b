// The compiled files as JSON: every field by its layout name, texts in UTF-8,
// and beside the values what each field means and where it came from: the
// layout once ("fields"), the meanings by kind of record ("roles", each
// record naming its "role") or by kind of cell ("kinds", each cell naming
// its "kind"), and the fields every cell has ("track_fields").
#include "autore/dump/dump.hpp"
#include "autore/dump/field_meanings.hpp"
#include "autore/route/table_fields.hpp"

#include "model/code_page.hpp"
#include "model/file_layouts.hpp"

namespace autore {

// Fields keep the order they have on disk.
using json = nlohmann::ordered_json;

namespace {

template <std::size_t N>
json layout_json(const std::array<tratta::LayoutField, N>& layout)
{
    json list = json::array();
    for (const auto& f : layout)
        list.push_back({{"name", f.name},
                        {"offset", f.offset},
                        {"width", f.width},
                        {"after_text", f.after_text},
                        {"meaning", f.meaning}});
    return list;
}

json meanings_json(std::span<const FieldMeaning> fields)
{
    json list = json::array();
    for (const FieldMeaning& m : fields)
        list.push_back({{"name", m.field},
                        {"label", m.label},
                        {"meaning", m.meaning},
                        {"source_key", m.origin.key != nullptr && m.origin.key_words.empty() ? json(m.origin.key->key)
                                                                                             : json(nullptr)},
                        {"source", origin_words(m.origin)}});
    return list;
}

std::string_view role_id(RecordRole role)
{
    switch (role) {
    case RecordRole::empty: return "empty";
    case RecordRole::station: return "station";
    case RecordRole::board_text: return "board_text";
    case RecordRole::chainage: return "chainage";
    case RecordRole::train: return "train";
    case RecordRole::scenario: return "scenario";
    case RecordRole::run: return "run";
    }
    return "empty";
}

} // namespace

json records_json(const tratta::ScenarioRecords& records)
{
    json list = json::array();
    for (int i = 0; i < tratta::ScenarioRecords::count; ++i) {
        const auto& record = records[i];
        const RecordRole role = record_role(records, i);
        json r = {{"index", i}};
        for (const auto& f : record_fields(record))
            r[std::string(f.name)] = f.value;
        r["text"] = tratta::cp1252_to_utf8(record.text);
        r["role"] = role_id(role);
        if (role == RecordRole::chainage && record.at_m == 1)
            r["end_m_as_written"] = static_cast<int64_t>(record.end_m) - decreasing_offset_added;
        list.push_back(std::move(r));
    }
    json roles = json::object();
    for (const RoleMeaning& m : role_meanings())
        roles[std::string(role_id(m.role))] = {{"name", m.name}, {"fields", meanings_json(m.fields)}};
    return {{"type", "sim"},
            {"fields", layout_json(tratta::record_layout)},
            {"roles", std::move(roles)},
            {"records", std::move(list)}};
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
    json kinds = json::array();
    for (const KindMeaning& k : kind_meanings())
        kinds.push_back({{"kind", k.kind},
                         {"name", kind_name(k.kind)},
                         {"source_key", k.key != nullptr ? json(k.key->key) : json(nullptr)},
                         {"placement", k.placement},
                         {"fields", meanings_json(k.fields)}});
    return {{"type", "dat"},
            {"cell_m", 50},
            {"fields", layout_json(tratta::cell_layout)},
            {"kinds", std::move(kinds)},
            {"track_fields", meanings_json(track_fields())},
            {"stamp_cell", {{"index", stamp_cell}, {"fields", meanings_json(stamp_cell_fields())}}},
            {"last_cell", cells.size() - 1},
            {"cells", std::move(list)}};
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
                {"meaning",
                 {{"m", "metro del percorso dalla sua origine"},
                  {"x", "coordinata x della pianta del binario al metro m, in metri"},
                  {"y", "coordinata y della pianta del binario al metro m, in metri; il binario parte da (0, 0) "
                        "verso le y crescenti"}}},
                {"last_m", sum.last_m},
                {"step_m", step_m},
                {"elements", {{"empty", sum.empty}, {"int16", sum.whole}, {"real", sum.real}}}};
    if (sum.has_points)
        doc["extent"] = {{"min_x", sum.min_x}, {"max_x", sum.max_x}, {"min_y", sum.min_y}, {"max_y", sum.max_y}};
    doc["points"] = std::move(points);
    return doc;
}

} // namespace autore

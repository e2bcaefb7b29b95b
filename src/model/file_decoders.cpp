#include "model/file_decoders.hpp"

#include "model/file_layouts.hpp"

#include <string>

namespace tratta {

ScenarioRecords decode_scenario_records(std::string_view bytes)
{
    ByteReader in(bytes);
    ScenarioRecords table;
    for (int i = 0; i < ScenarioRecords::count; ++i) {
        if (in.at_end())
            throw LayoutError("il file finisce dopo " + std::to_string(i) + " record su " +
                              std::to_string(ScenarioRecords::count));
        for_each_field(table[i], [&in](const LayoutField&, auto& value) { in.get(value); });
    }
    if (!in.at_end())
        throw LayoutError(std::to_string(in.remaining()) + " byte in più dopo il record " +
                          std::to_string(ScenarioRecords::count - 1) + " (dal byte " +
                          std::to_string(in.offset()) + ")");
    return table;
}

std::vector<RouteCell> decode_route_cells(std::string_view bytes)
{
    if (bytes.empty())
        throw LayoutError("file vuoto: nessuna cella");
    if (bytes.size() % cell_bytes != 0)
        throw LayoutError(std::to_string(bytes.size()) + " byte non sono un multiplo di " +
                          std::to_string(cell_bytes) + " (una cella)");
    ByteReader in(bytes);
    std::vector<RouteCell> cells(bytes.size() / cell_bytes);
    for (auto& c : cells)
        for_each_field(c, [&in](const LayoutField&, auto& value) { in.get(value); });
    return cells;
}

namespace {

// Reads one tagged element; returns its tag after checking it is one of the three.
ProfileTag read_tag(ByteReader& in)
{
    const std::size_t at = in.offset();
    const uint16_t tag = in.get_u16();
    switch (tag) {
    case static_cast<uint16_t>(ProfileTag::empty): return ProfileTag::empty;
    case static_cast<uint16_t>(ProfileTag::int16): return ProfileTag::int16;
    case static_cast<uint16_t>(ProfileTag::real): return ProfileTag::real;
    default: break;
    }
    throw LayoutError("tipo di elemento " + std::to_string(tag) + " sconosciuto al byte " +
                      std::to_string(at) + " (ammessi 0, 2 e 5)");
}

} // namespace

DecodedLineProfile decode_line_profile(std::string_view bytes)
{
    // First pass: the layout and the number of elements.
    std::size_t elements = 0;
    {
        ByteReader in(bytes);
        while (!in.at_end()) {
            const ProfileTag t = read_tag(in);
            if (t == ProfileTag::int16)
                in.get_i16();
            else if (t == ProfileTag::real)
                in.get_f64();
            ++elements;
        }
    }
    if (elements == 0)
        throw LayoutError("file vuoto: nessun punto della linea");
    if (elements % 2 != 0)
        throw LayoutError(std::to_string(elements) +
                          " elementi: un numero dispari non si divide in x e y della stessa lunghezza");

    // Second pass: the x half, then the y half, metre by metre.
    const std::size_t per_coordinate = elements / 2;
    DecodedLineProfile table;
    table.create(static_cast<int64_t>(per_coordinate) - 1);
    ByteReader in(bytes);
    for (int r = 0; r < 2; ++r) {
        for (std::size_t m = 0; m < per_coordinate; ++m) {
            const auto metre = static_cast<int64_t>(m);
            switch (read_tag(in)) {
            case ProfileTag::int16: table.set_int16(metre, r, in.get_i16()); break;
            case ProfileTag::real: table.set_real(metre, r, in.get_f64()); break;
            case ProfileTag::empty: break;
            }
        }
    }
    return table;
}

} // namespace tratta

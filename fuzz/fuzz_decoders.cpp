// One input of arbitrary bytes read back as a binary file of a compiled
// scenario and shown as `autore dump` shows it: the first byte chooses the
// file (records, route grid, line table), the rest is the file. A file of the
// wrong size or layout must be refused with a LayoutError, never read past
// its end; one that decodes must be shown as text and JSON.
#include "fuzz_entry.hpp"

#include "autore/dump/dump.hpp"
#include "model/file_decoders.hpp"

#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::ostringstream out;
    try {
        switch (data[0] % 3) {
        case 0: {
            const auto records = tratta::decode_scenario_records(file);
            autore::records_text(records, out);
            out << autore::records_json(records).dump();
            break;
        }
        case 1: {
            const auto cells = tratta::decode_route_cells(file);
            autore::cells_text(cells, data[0] % 2 == 0, out);
            out << autore::cells_json(cells, false).dump();
            break;
        }
        default: {
            const auto table = tratta::decode_line_profile(file);
            const int64_t step = 1 + data[0] / 3;
            autore::line_table_text(table, step, out);
            out << autore::line_table_json(table, step).dump();
            break;
        }
        }
    } catch (const tratta::LayoutError&) {
        // The file is not one the compile makes: refused, as it must be.
    }
    return 0;
}

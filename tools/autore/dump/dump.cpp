#include "autore/dump/dump.hpp"

#include "app/files.hpp"
#include "app/standard_output.hpp"
#include "autore/command_line/exit_status.hpp"
#include "autore/scenario_files/input_files.hpp"
#include "model/byte_reader.hpp"

#include <algorithm>
#include <ostream>

namespace autore {

std::vector<int64_t> sample_metres(int64_t last_m, int64_t step_m)
{
    std::vector<int64_t> metres;
    if (last_m < 0)
        return metres;
    const int64_t step = step_m > 0 ? step_m : 1;
    for (int64_t m = 0; m <= last_m; m += step)
        metres.push_back(m);
    if (metres.back() != last_m)
        metres.push_back(last_m);
    return metres;
}

LineTableSummary summarise(const tratta::DecodedLineProfile& table)
{
    LineTableSummary sum;
    sum.last_m = table.last_m();
    for (int64_t m = 0; m <= sum.last_m; ++m) {
        bool both = true;
        for (int r = 0; r < 2; ++r) {
            switch (table.tag(m, r)) {
            case tratta::ProfileTag::empty: ++sum.empty; both = false; break;
            case tratta::ProfileTag::int16: ++sum.whole; break;
            case tratta::ProfileTag::real: ++sum.real; break;
            }
        }
        if (!both)
            continue;
        const double x = table.get(m, 0);
        const double y = table.get(m, 1);
        if (!sum.has_points) {
            sum.min_x = sum.max_x = x;
            sum.min_y = sum.max_y = y;
            sum.has_points = true;
        }
        sum.min_x = std::min(sum.min_x, x);
        sum.max_x = std::max(sum.max_x, x);
        sum.min_y = std::min(sum.min_y, y);
        sum.max_y = std::max(sum.max_y, y);
    }
    return sum;
}

int dump_file(const std::filesystem::path& file, const DumpOptions& options, std::ostream& out,
              std::ostream& err)
{
    if (auto problem = input_file_problem(file)) {
        err << "autore: " << *problem << '\n';
        return exit_status::failed;
    }
    const auto kind = options.kind ? options.kind : kind_from_name(file);
    if (!kind)
        throw UsageError("non so che file sia " + quoted_path(file) +
                         ": il nome non finisce in _linea.dat, .sim o .dat (dirlo con --type)");
    if (options.objects_only && *kind != BinaryKind::grid)
        throw UsageError("--objects vale solo per la griglia del percorso (un file .dat), non per " +
                         quoted_path(file) + ", " + std::string(kind_words(*kind)));
    if (options.step_m && *kind != BinaryKind::line_table)
        throw UsageError("--step vale solo per la tabella della linea (un file _linea.dat), non per " +
                         quoted_path(file) + ", " + std::string(kind_words(*kind)));
    const int64_t step_m = options.step_m.value_or(default_step_m);
    try {
        const auto show = [&](const auto& table, auto as_json, auto as_text) {
            if (options.json)
                out << as_json(table).dump(1) << '\n';
            else
                as_text(table, out);
        };
        switch (*kind) {
        case BinaryKind::records:
            show(load_records(file), records_json, records_text);
            break;
        case BinaryKind::grid:
            show(
                load_cells(file), [&](const auto& c) { return cells_json(c, options.objects_only); },
                [&](const auto& c, std::ostream& o) { cells_text(c, options.objects_only, o); });
            break;
        case BinaryKind::line_table:
            show(
                load_line_table(file), [&](const auto& t) { return line_table_json(t, step_m); },
                [&](const auto& t, std::ostream& o) { line_table_text(t, step_m, o); });
            break;
        }
        tratta::flush_standard_output(out);
    } catch (const tratta::FileFailure& e) {
        err << "autore: " << e.what() << '\n';
        return exit_status::failed;
    } catch (const tratta::LayoutError& e) {
        err << "autore: formato non valido: " << e.what() << '\n';
        return exit_status::failed;
    }
    return exit_status::done;
}

} // namespace autore

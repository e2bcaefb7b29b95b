// The timetable as the check sees it: legs too short for the train to keep,
// times that do not increase, stations out of order with the line.
#include "autore/analysis/rules.hpp"

#include "autore/driver_documents/timetable.hpp"
#include "autore/route/route_data.hpp"

namespace autore {

void timetable_rules(const tratta::CompileResult& compiled, std::string_view train_source, std::vector<Diagnostic>& out)
{
    const tratta::RunState& s = compiled.model;
    if (!compiled.makes_files() || !s.profiles_completed)
        return;
    const auto& cells = s.cells.cells();
    const std::vector<int> station_list = station_records(s.records, cells);
    // A timetable needs two stations with a time; a file that gives fewer asks for none.
    int timed = 0;
    for (const int r : station_list)
        timed += s.records[r].time_s != 0 ? 1 : 0;
    if (timed < 2)
        return;
    for (const Finding& f : scenario_timetable(s.records, cells, train_source).plan.findings) {
        Diagnostic d = finding_diagnostic(f);
        // Without a braked-mass percentage the timetable cannot be worked
        // out; the scenario itself still compiles.
        if (f.code == "frenatura-mancante")
            d.severity = Severity::warning;
        out.push_back(std::move(d));
    }
}

} // namespace autore

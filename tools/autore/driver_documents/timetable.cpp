#include "autore/driver_documents/timetable.hpp"

#include "autore/driver_documents/running_time.hpp"
#include "autore/driver_documents/time_text.hpp"
#include "model/code_page.hpp"

#include <cmath>

namespace autore {

namespace {

constexpr int32_t day_s = 86400;
// A time earlier than the one before it is a run past midnight when that
// makes a leg of no more than this; otherwise it is a time that goes back.
constexpr int32_t longest_night_leg_s = 12 * 3600;
// Junctions and points without a platform: no stop cell, no stop.
constexpr uint8_t first_kind_without_stop = 25;

std::string utf8(const std::string& cp1252) { return tratta::cp1252_shown(cp1252); }

StationRef ref(const TimedStation& s) { return {s.name, s.source_line}; }

std::string where(const TimedStation& s) { return utf8(s.name) + " (a " + std::to_string(s.at_m) + " m)"; }

bool can_stop(const TimedStation& s) { return s.kind < first_kind_without_stop; }

struct Planner {
    const DocumentData& data;
    TimetablePlan plan;
    std::vector<std::size_t> run;              // indices of the stations in order along the line
    std::vector<std::optional<int32_t>> given; // each station's time of day, when it is one

    // A time outside the day (hours beyond 23, a negative count) is no time of day.
    void read_times()
    {
        for (const TimedStation& s : data.stations) {
            given.push_back(s.time_s);
            if (!s.time_s || (*s.time_s >= 0 && *s.time_s < day_s))
                continue;
            given.back().reset();
            add(Severity::error, "orario-non-valido",
                "l'orario di " + utf8(s.name) + " non è un'ora del giorno (" + std::to_string(*s.time_s) +
                    " secondi dopo la mezzanotte): la stazione è trattata come senza orario",
                {ref(s)});
        }
    }

    void add(Severity severity, const char* code, std::string message, std::vector<StationRef> stations)
    {
        plan.findings.push_back({severity, code, std::move(message), std::move(stations)});
    }

    const TimedStation& station(std::size_t i) const { return data.stations[i]; }
    StationPlan& at(std::size_t i) { return plan.stations[i]; }

    void order_stations()
    {
        for (std::size_t i = 0; i < data.stations.size(); ++i) {
            if (!run.empty() && station(i).at_m <= station(run.back()).at_m) {
                add(Severity::error, "stazione-fuori-ordine",
                    "la stazione " + where(station(i)) + " non viene dopo " + where(station(run.back())) +
                        " lungo la linea: è esclusa dalla corsa",
                    {ref(station(i)), ref(station(run.back()))});
                continue;
            }
            run.push_back(i);
            at(i).in_run = true;
        }
        for (std::size_t k = 0; k < run.size(); ++k) {
            const TimedStation& s = station(run[k]);
            at(run[k]).stops = k == 0 || k + 1 == run.size() || (can_stop(s) && (s.stop_flag || given[run[k]]));
        }
    }

    // The stations of the run around a route position: the last at or before
    // it and the first after it.
    std::pair<std::size_t, std::size_t> around(int64_t m) const
    {
        std::size_t k = 0;
        while (k + 2 < run.size() && station(run[k + 1]).at_m <= m)
            ++k;
        return {run[k], run[k + 1]};
    }

    void running_times()
    {
        if (run.size() < 2 || !(plan.decel_ms2 > 0))
            return;
        const int64_t from = station(run.front()).at_m;
        const int64_t to = station(run.back()).at_m;
        const auto limits = limits_along(data, from, to);
        for (const LimitStretch& l : limits) {
            if (l.kmh > 0)
                continue;
            const auto [a, b] = around(l.from_m);
            add(Severity::error, "limite-nullo",
                "il limite di velocità è 0 km/h dal km " + km_text(official_km_m(data.chainages, l.from_m)) +
                    " al km " + km_text(official_km_m(data.chainages, l.to_m)) + " (da " + std::to_string(l.from_m) +
                    " a " + std::to_string(l.to_m) + " m del percorso), tra " + utf8(station(a).name) + " e " +
                    utf8(station(b).name) + ": il treno non vi può passare",
                {ref(station(a)), ref(station(b))});
        }
        std::vector<RunPoint> points;
        for (const std::size_t i : run)
            points.push_back({station(i).at_m, at(i).stops});
        const auto times = passing_times(limits, points, {plan.accel_ms2, plan.decel_ms2});
        for (std::size_t k = 1; k < run.size(); ++k)
            if (std::isfinite(times[k]))
                at(run[k]).running_s = times[k] - times[k - 1];
    }

    double dwell_at(std::size_t k) const
    {
        return k + 1 < run.size() && plan.stations[run[k]].stops ? plan.dwell_s : 0;
    }

    // The leg from run[p] to run[q], both with a time.
    void leg(std::size_t p, std::size_t q)
    {
        const TimedStation& a = station(run[p]);
        const TimedStation& b = station(run[q]);
        const int32_t ta = *given[run[p]];
        const int32_t tb = *given[run[q]];
        Leg l{run[p], run[q], 0, std::nullopt};
        // Times count on past midnight from the first station with a time.
        if (!at(run[p]).time_s)
            at(run[p]).time_s = ta;
        const double start = *at(run[p]).time_s;
        const int32_t elapsed = tb > ta ? tb - ta : tb - ta + day_s;
        if (tb == ta || (tb < ta && elapsed > longest_night_leg_s)) {
            add(Severity::error, "orario-non-crescente",
                "l'orario di " + utf8(b.name) + " (" + exact_clock_text(tb) + ") non viene dopo quello di " +
                    utf8(a.name) + " (" + exact_clock_text(ta) + ")",
                {ref(b), ref(a)});
            at(run[q]).time_s = tb;
            plan.legs.push_back(l);
            return;
        }
        l.scheduled_s = elapsed;
        at(run[q]).time_s = start + elapsed;

        double running = 0;
        double dwells = 0;
        for (std::size_t k = p + 1; k <= q; ++k) {
            const auto& r = plan.stations[run[k]].running_s;
            if (!r) {
                plan.legs.push_back(l);
                return;
            }
            running += *r;
            dwells += dwell_at(k);
        }
        const double shortest = running + dwells;
        l.shortest_s = shortest;
        plan.legs.push_back(l);
        const double slack = elapsed - shortest;
        if (slack < 0) {
            const double missing = std::ceil(-slack);
            add(Severity::warning, "orario-non-rispettabile",
                "tra " + utf8(a.name) + " e " + utf8(b.name) + " l'orario dà " + duration_text(elapsed) +
                    ", ma il treno impiega almeno " + duration_text(shortest) + ": mancano " +
                    std::to_string(static_cast<int64_t>(missing)) + " secondi",
                {ref(a), ref(b)});
        }
        // The slack goes to the stretches in proportion to their running
        // times; a timetable that cannot be kept is squeezed evenly instead.
        const double squeeze = slack < 0 && shortest > 0 ? elapsed / shortest : 1;
        double t = start;
        for (std::size_t k = p + 1; k <= q; ++k) {
            StationPlan& s = at(run[k]);
            const double margin =
                slack >= 0 ? (running > 0 ? slack * *s.running_s / running : 0) : *s.running_s * (squeeze - 1);
            s.margin_s = margin;
            t += *s.running_s + margin + dwell_at(k) * squeeze;
            if (k < q)
                s.time_s = t;
        }
    }

    void legs()
    {
        std::vector<std::size_t> timed;
        for (std::size_t k = 0; k < run.size(); ++k)
            if (given[run[k]])
                timed.push_back(k);
        if (timed.size() < 2) {
            std::vector<StationRef> refs;
            for (const std::size_t k : timed)
                refs.push_back(ref(station(run[k])));
            add(Severity::warning, "orario-insufficiente",
                "meno di due stazioni hanno un orario: non c'è alcuna tratta da verificare", refs);
            for (const std::size_t k : timed)
                at(run[k]).time_s = *given[run[k]];
            return;
        }
        for (std::size_t i = 0; i + 1 < timed.size(); ++i)
            leg(timed[i], timed[i + 1]);
    }
};

} // namespace

Diagnostic finding_diagnostic(const Finding& f)
{
    Diagnostic d;
    d.severity = f.severity;
    d.code = f.code;
    d.message = f.message;
    for (const StationRef& s : f.stations) {
        if (s.source_line <= 0)
            continue;
        const tratta::SourcePlace at{tratta::SourceFile::train, s.source_line, 1, 1};
        if (!d.place.known())
            d.place = at;
        else
            d.related.push_back({at, "la stazione «" + utf8(s.name) + "»"});
    }
    return d;
}

double braking_deceleration(int32_t braked_mass_pct)
{
    return braked_mass_pct > 0 ? decel_per_100_pct_ms2 * braked_mass_pct / 100.0 : 0;
}

TimetablePlan plan_timetable(const DocumentData& data, const TrainDynamics& dynamics)
{
    Planner p{data, {}, {}, {}};
    p.plan.accel_ms2 = dynamics.accel_ms2;
    p.plan.decel_ms2 = dynamics.decel_ms2 ? *dynamics.decel_ms2 : braking_deceleration(data.braked_mass_pct);
    p.plan.dwell_s = dynamics.dwell_s;
    p.plan.stations.resize(data.stations.size());
    if (!(p.plan.decel_ms2 > 0))
        p.add(Severity::error, "frenatura-mancante",
              "il file del treno non dà la percentuale di massa frenata: senza la frenatura il tempo minimo di "
              "percorrenza non si calcola",
              {});
    p.read_times();
    p.order_stations();
    p.running_times();
    p.legs();
    return p.plan;
}

ScenarioTimetable scenario_timetable(const tratta::ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                                     std::string_view train_source)
{
    const int stations = static_cast<int>(station_records(records, cells).size());
    ScenarioTimetable t{gather_documents(records, cells, stations, train_source), {}};
    t.plan = plan_timetable(t.data, TrainDynamics{});
    return t;
}

} // namespace autore

// The upper half of the route picture: the track seen from above, north up,
// with the stations named and the signals and sign boards marked on it.
#include "autore/plot_layout.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace autore {

namespace {

struct Rect {
    double x0, y0, x1, y1;
    bool overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// Plan metres to picture pixels, one scale for both axes so the plan keeps its shape.
struct PlanScale {
    double scale = 1, cx = 0, cy = 0, mx = 0, my = 0;
    double x(double metres) const { return cx + (metres - mx) * scale; }
    double y(double metres) const { return cy - (metres - my) * scale; }
};

PlanScale fit(const RouteData& route, const Box& box)
{
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool first = true;
    for (const auto* part : {&route.plan, &route.run_out})
        for (const auto& p : *part) {
            x0 = first ? p.x : std::min(x0, p.x);
            x1 = first ? p.x : std::max(x1, p.x);
            y0 = first ? p.y : std::min(y0, p.y);
            y1 = first ? p.y : std::max(y1, p.y);
            first = false;
        }
    const double span_x = std::max(x1 - x0, 1.0);
    const double span_y = std::max(y1 - y0, 1.0);
    PlanScale s;
    s.scale = std::min(box.width * 0.9 / span_x, box.height * 0.9 / span_y);
    s.cx = box.left + box.width / 2;
    s.cy = box.top + box.height / 2;
    s.mx = (x0 + x1) / 2;
    s.my = (y0 + y1) / 2;
    return s;
}

std::string path_of(const std::vector<PlanPoint>& points, const PlanScale& s)
{
    std::string d;
    for (std::size_t i = 0; i < points.size(); ++i)
        d += (i == 0 ? "M" : " L") + svg_number(s.x(points[i].x)) + " " + svg_number(s.y(points[i].y));
    return d;
}

// Km grid lines across the panel, labelled on its left and bottom edges.
void draw_grid(SvgWriter& svg, const PlanScale& s, const Box& box)
{
    const double km_span = std::max(box.width, box.height) / s.scale / 1000;
    const double step_km = nice_step(km_span, 8);
    svg.open("g", {{"stroke", colour::grid}, {"stroke-width", "1"}});
    const double first_x = std::ceil((s.mx - (s.cx - box.left) / s.scale) / 1000 / step_km) * step_km;
    for (double km = first_x; s.x(km * 1000) <= box.right(); km += step_km)
        svg.empty("line", {{"x1", svg_number(s.x(km * 1000))}, {"y1", svg_number(box.top)},
                           {"x2", svg_number(s.x(km * 1000))}, {"y2", svg_number(box.bottom())}});
    const double first_y = std::ceil((s.my - (box.bottom() - s.cy) / s.scale) / 1000 / step_km) * step_km;
    for (double km = first_y; s.y(km * 1000) >= box.top; km += step_km)
        svg.empty("line", {{"x1", svg_number(box.left)}, {"y1", svg_number(s.y(km * 1000))},
                           {"x2", svg_number(box.right())}, {"y2", svg_number(s.y(km * 1000))}});
    svg.close("g");
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}});
    for (double km = first_x; s.x(km * 1000) <= box.right(); km += step_km)
        svg.text(s.x(km * 1000), box.bottom() + 13, svg_number(km), {{"text-anchor", "middle"}});
    for (double km = first_y; s.y(km * 1000) >= box.top; km += step_km)
        svg.text(box.left - 5, s.y(km * 1000) + 3, svg_number(km), {{"text-anchor", "end"}});
    svg.close("g");
    svg.text(box.right(), box.bottom() + 27, "est (km)", {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
    svg.text(box.left - 40, box.top - 6, "nord (km)", {{"font-size", "11"}, {"fill", colour::axis}});
}

// Station names beside their marks, on the first side where they overlap no other name.
void draw_station_names(SvgWriter& svg, const RouteData& route, const PlanScale& s, const Box& box)
{
    constexpr double font = 10;
    std::vector<Rect> taken;
    svg.open("g", {{"font-size", svg_number(font)}, {"fill", colour::station}, {"class", "station-names"}});
    for (const auto& st : route.stations) {
        if (!st.plan || st.label.empty())
            continue;
        const double px = s.x(st.plan->x);
        const double py = s.y(st.plan->y);
        const double w = text_width(st.label, font);
        struct Place { double dx, dy; bool left; };
        constexpr Place places[] = {{7, 3, false}, {-7, 3, true}, {7, -8, false}, {-7, -8, true},
                                    {7, 14, false}, {-7, 14, true}, {7, -19, false}, {-7, 25, true}};
        for (const auto& p : places) {
            const double x0 = p.left ? px + p.dx - w : px + p.dx;
            const Rect r{x0, py + p.dy - font, x0 + w, py + p.dy + 2};
            const bool inside = r.x0 >= box.left && r.x1 <= box.right() && r.y0 >= box.top && r.y1 <= box.bottom();
            if (!inside || std::any_of(taken.begin(), taken.end(), [&r](const Rect& t) { return t.overlaps(r); }))
                continue;
            taken.push_back(r);
            svg.text(px + p.dx, py + p.dy, st.label, {{"text-anchor", p.left ? "end" : "start"}});
            break;
        }
    }
    svg.close("g");
}

void draw_legend(SvgWriter& svg, const Box& box)
{
    const double x = box.right() - 150;
    const double y = box.top + 12;
    svg.open("g", {{"font-size", "11"}, {"fill", colour::axis}, {"class", "legend"}});
    svg.empty("rect", {{"x", svg_number(x - 10)}, {"y", svg_number(y - 8)}, {"width", "155"}, {"height", "82"},
                       {"fill", "white"}, {"fill-opacity", "0.85"}, {"stroke", colour::grid}});
    svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(y + 4)}, {"x2", svg_number(x + 18)},
                       {"y2", svg_number(y + 4)}, {"stroke", colour::track}, {"stroke-width", "2.5"}});
    svg.text(x + 26, y + 8, "binario");
    svg.empty("circle", {{"cx", svg_number(x + 9)}, {"cy", svg_number(y + 22)}, {"r", "4"}, {"fill", "white"},
                         {"stroke", colour::station}, {"stroke-width", "2"}});
    svg.text(x + 26, y + 26, "stazione");
    svg.empty("circle", {{"cx", svg_number(x + 9)}, {"cy", svg_number(y + 40)}, {"r", "2.2"}, {"fill", colour::signal}});
    svg.text(x + 26, y + 44, "segnale");
    svg.empty("rect", {{"x", svg_number(x + 6)}, {"y", svg_number(y + 55)}, {"width", "6"}, {"height", "6"},
                       {"fill", colour::board}});
    svg.text(x + 26, y + 62, "cartello indicatore");
    svg.close("g");
}

} // namespace

void draw_plan(SvgWriter& svg, const RouteData& route, const Box& box)
{
    svg.empty("rect", {{"x", svg_number(box.left)}, {"y", svg_number(box.top)}, {"width", svg_number(box.width)},
                       {"height", svg_number(box.height)}, {"fill", "#fbfbf8"}, {"stroke", colour::grid}});
    if (route.plan.empty()) {
        svg.text(box.left + box.width / 2, box.top + box.height / 2,
                 "pianta non disponibile: scenario compilato senza la tabella _linea.dat",
                 {{"text-anchor", "middle"}, {"font-size", "14"}, {"fill", colour::axis}});
        return;
    }
    const PlanScale s = fit(route, box);
    draw_grid(svg, s, box);

    if (!route.run_out.empty())
        svg.empty("path", {{"d", path_of(route.run_out, s)}, {"fill", "none"}, {"stroke", colour::run_out},
                           {"stroke-width", "1.5"}, {"stroke-dasharray", "4 3"}, {"id", "run-out"}});
    svg.empty("path", {{"d", path_of(route.plan, s)}, {"fill", "none"}, {"stroke", colour::track},
                       {"stroke-width", "2.5"}, {"stroke-linejoin", "round"}, {"id", "track"}});

    svg.open("g", {{"fill", colour::signal}, {"class", "signals"}});
    for (const auto& m : route.signals)
        if (m.plan)
            svg.empty("circle", {{"cx", svg_number(s.x(m.plan->x))}, {"cy", svg_number(s.y(m.plan->y))}, {"r", "2.2"}});
    svg.close("g");
    svg.open("g", {{"fill", colour::board}, {"class", "boards"}});
    for (const auto& m : route.boards)
        if (m.plan)
            svg.empty("rect", {{"x", svg_number(s.x(m.plan->x) - 3)}, {"y", svg_number(s.y(m.plan->y) - 3)},
                               {"width", "6"}, {"height", "6"}});
    svg.close("g");
    svg.open("g", {{"fill", "white"}, {"stroke", colour::station}, {"stroke-width", "2"}, {"class", "stations"}});
    for (const auto& m : route.stations)
        if (m.plan)
            svg.empty("circle", {{"cx", svg_number(s.x(m.plan->x))}, {"cy", svg_number(s.y(m.plan->y))}, {"r", "4"}});
    svg.close("g");
    draw_station_names(svg, route, s, box);

    // Where the route begins and ends.
    const auto& start = route.plan.front();
    const auto& end = route.plan.back();
    svg.open("g", {{"font-size", "11"}, {"font-weight", "bold"}, {"fill", colour::track}});
    svg.text(s.x(start.x) + 8, s.y(start.y) + 16, "inizio (0 km)");
    svg.text(s.x(end.x) + 8, s.y(end.y) - 8, "fine (" + svg_number(static_cast<double>(route.length_m) / 1000) + " km)");
    svg.close("g");
    draw_legend(svg, box);
}

} // namespace autore

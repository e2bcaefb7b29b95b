// The upper half of the route picture: the track seen from above, turned so
// that the line runs from left to right like the profile under it (a north
// arrow shows how it lies), with the stations named and the signals and sign
// boards marked on it.
#include "autore/plot_layout.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace autore {

namespace {

constexpr double station_font = 10;
constexpr double tallest_track = 420; // px: a plan that would stand taller is drawn smaller
constexpr double margin = 18;

// Plan metres to picture pixels: u runs along the line's main direction, v
// across it (to the left of the direction of travel is up); one scale for both
// so the plan keeps its shape.
struct PlanFrame {
    double ux = 0, uy = 1; // the main direction, east and north parts
    double cx = 0, cy = 0; // a point of the track that anchors the frame
    double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    double scale = 1;
    double left = 0, top = 0; // where u0 and v1 fall in the picture

    double u(const PlanPoint& p) const { return (p.x - cx) * ux + (p.y - cy) * uy; }
    double v(const PlanPoint& p) const { return (p.y - cy) * ux - (p.x - cx) * uy; }
    double x(const PlanPoint& p) const { return left + (u(p) - u0) * scale; }
    double y(const PlanPoint& p) const { return top + (v1 - v(p)) * scale; }
};

// The line's main direction: the axis along which its points spread most,
// pointing from the start towards the end.
void main_direction(const std::vector<PlanPoint>& points, double& ux, double& uy)
{
    double mx = 0, my = 0;
    for (const auto& p : points) {
        mx += p.x;
        my += p.y;
    }
    const auto n = static_cast<double>(points.size());
    mx /= n;
    my /= n;
    double sxx = 0, syy = 0, sxy = 0;
    for (const auto& p : points) {
        sxx += (p.x - mx) * (p.x - mx);
        syy += (p.y - my) * (p.y - my);
        sxy += (p.x - mx) * (p.y - my);
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    ux = std::cos(angle);
    uy = std::sin(angle);
    const double ex = points.back().x - points.front().x;
    const double ey = points.back().y - points.front().y;
    if (ex * ux + ey * uy < 0) {
        ux = -ux;
        uy = -uy;
    }
}

double label_room(const RouteData& route)
{
    double widest = 0;
    for (const auto& st : route.stations)
        widest = std::max(widest, text_width(st.label, station_font));
    return std::min(widest * 0.71 + 20, 140.0);
}

PlanFrame frame_of(const RouteData& route, double width)
{
    PlanFrame f;
    main_direction(route.plan, f.ux, f.uy);
    f.cx = route.plan.front().x;
    f.cy = route.plan.front().y;
    bool first = true;
    for (const auto* part : {&route.plan, &route.run_out})
        for (const auto& p : *part) {
            const double u = f.u(p);
            const double v = f.v(p);
            f.u0 = first ? u : std::min(f.u0, u);
            f.u1 = first ? u : std::max(f.u1, u);
            f.v0 = first ? v : std::min(f.v0, v);
            f.v1 = first ? v : std::max(f.v1, v);
            first = false;
        }
    const double span_u = std::max(f.u1 - f.u0, 1.0);
    const double span_v = std::max(f.v1 - f.v0, 1.0);
    // Room at both ends too, for the names of the first and last stations.
    f.top = label_room(route);
    const double side = margin + 0.6 * f.top;
    f.scale = std::min((width - 2 * side) / span_u, tallest_track / span_v);
    f.left = side + ((width - 2 * side) - span_u * f.scale) / 2;
    return f;
}

std::string path_of(const std::vector<PlanPoint>& points, const PlanFrame& f, const Box& box)
{
    std::string d;
    for (std::size_t i = 0; i < points.size(); ++i)
        d += (i == 0 ? "M" : " L") + svg_number(box.left + f.x(points[i])) + " " + svg_number(box.top + f.y(points[i]));
    return d;
}

// Km lines along and across the main direction, counted from the start.
void draw_grid(SvgWriter& svg, const PlanFrame& f, const Box& box)
{
    const double step = nice_step(std::max(f.u1 - f.u0, f.v1 - f.v0) / 1000, 10) * 1000;
    const PlanPoint start{f.cx, f.cy};
    const double su = f.u(start);
    const double sv = f.v(start);
    svg.open("g", {{"stroke", colour::grid}, {"stroke-width", "1"}});
    std::vector<double> across;
    for (double u = su + std::ceil((f.u0 - su) / step) * step; u <= f.u1 + 1e-6; u += step) {
        const double x = box.left + f.left + (u - f.u0) * f.scale;
        across.push_back(u);
        svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(box.top)}, {"x2", svg_number(x)},
                           {"y2", svg_number(box.bottom())}});
    }
    std::vector<double> along;
    for (double v = sv + std::ceil((f.v0 - f.top / f.scale - sv) / step) * step; v <= f.v1 + f.top / f.scale; v += step) {
        const double y = box.top + f.top + (f.v1 - v) * f.scale;
        if (y < box.top || y > box.bottom())
            continue;
        along.push_back(v);
        svg.empty("line", {{"x1", svg_number(box.left)}, {"y1", svg_number(y)}, {"x2", svg_number(box.right())},
                           {"y2", svg_number(y)}});
    }
    svg.close("g");
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}});
    for (const double u : across)
        svg.text(box.left + f.left + (u - f.u0) * f.scale, box.bottom() + 13, svg_number((u - su) / 1000),
                 {{"text-anchor", "middle"}});
    for (const double v : along)
        svg.text(box.left - 5, box.top + f.top + (f.v1 - v) * f.scale + 3, svg_number((v - sv) / 1000),
                 {{"text-anchor", "end"}});
    svg.close("g");
    svg.text(box.right(), box.bottom() + 28, "km nella direzione della linea, dall'inizio",
             {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
    svg.text(box.left - 5, box.top - 6, "km di lato", {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
}

// Which way north lies once the plan is turned.
void draw_north(SvgWriter& svg, const PlanFrame& f, const Box& box)
{
    const double cx = box.left + 30;
    const double cy = box.top + 32;
    const double dx = f.uy;  // north's part along the main direction
    const double dy = -f.ux; // and across it, turned to picture y
    const double len = 18;
    const std::string tip = svg_number(cx + dx * len) + " " + svg_number(cy + dy * len);
    const std::string tail = svg_number(cx - dx * len) + " " + svg_number(cy - dy * len);
    svg.open("g", {{"class", "north"}});
    svg.empty("circle", {{"cx", svg_number(cx)}, {"cy", svg_number(cy)}, {"r", "24"}, {"fill", "white"},
                         {"stroke", colour::grid}});
    svg.empty("path", {{"d", "M" + tail + " L" + tip}, {"stroke", colour::axis}, {"stroke-width", "2"}, {"fill", "none"}});
    const double hx = cx + dx * len;
    const double hy = cy + dy * len;
    svg.empty("path", {{"d", "M" + tip + " L" + svg_number(hx - dx * 8 - dy * 5) + " " + svg_number(hy - dy * 8 + dx * 5) +
                                 " L" + svg_number(hx - dx * 8 + dy * 5) + " " + svg_number(hy - dy * 8 - dx * 5) + " Z"},
                       {"fill", colour::axis}});
    svg.text(cx + dx * (len + 12), cy + dy * (len + 12) + 4, "N",
             {{"font-size", "11"}, {"font-weight", "bold"}, {"text-anchor", "middle"}, {"fill", colour::axis}});
    svg.close("g");
}

// A slanted name: where its text is anchored, which way it slants and on
// which side of the anchor it lies.
struct SlantedName {
    double x = 0, y = 0;
    int angle = -45;         // -45: rising to the right, 45: falling to the right
    bool ends_at_anchor = false; // the text lies to the left of its anchor
    double width = 0;

    // Whether a picture point falls on the name's text, with a little room around it.
    bool covers(double px, double py) const
    {
        constexpr double c = 0.70710678;
        const double sin = angle < 0 ? -c : c;
        const double dx = px - x;
        const double dy = py - y;
        const double along = dx * c + dy * sin;
        const double across = -dx * sin + dy * c;
        const double from = ends_at_anchor ? -width - 2 : -2;
        return along >= from && along <= from + width + 4 && across >= -station_font - 1 && across <= 3;
    }
    // Points along the text, for testing later names against it.
    std::vector<std::pair<double, double>> outline() const
    {
        constexpr double c = 0.70710678;
        const double sin = angle < 0 ? -c : c;
        std::vector<std::pair<double, double>> points;
        for (double t = 0; t <= width; t += 4) {
            const double along = ends_at_anchor ? -t : t;
            for (const double across : {-station_font / 2, 0.0})
                points.emplace_back(x + along * c - across * sin, y + along * sin + across * c);
        }
        return points;
    }
};

// The four ways a name can stand beside its station, in order of preference:
// to the right, rising or falling, then to the left.
std::vector<SlantedName> name_places(double px, double py, double width)
{
    return {{px + 5, py - 6, -45, false, width},
            {px + 5, py + 12, 45, false, width},
            {px - 5, py - 6, 45, true, width},
            {px - 5, py + 12, -45, true, width}};
}

// Names slant away from the track, above or below it, on the side where the
// track, the other names (and other texts, `taken`) and the picture's edges
// leave them most room; when two sides are as good, by turns above and below.
void draw_station_names(SvgWriter& svg, const RouteData& route, const PlanFrame& f, const Box& box,
                        std::vector<std::pair<double, double>> taken)
{
    std::vector<const RouteMark*> named;
    for (const auto& st : route.stations)
        if (st.plan && !st.label.empty())
            named.push_back(&st);
    std::sort(named.begin(), named.end(), [](const RouteMark* a, const RouteMark* b) { return a->at_m < b->at_m; });

    std::vector<std::pair<double, double>> obstacles;
    for (const auto& p : route.plan)
        obstacles.emplace_back(box.left + f.x(p), box.top + f.y(p));
    bool previous_rising = false;
    svg.open("g", {{"font-size", svg_number(station_font)}, {"fill", colour::station}, {"class", "station-names"}});
    for (const auto* st : named) {
        const double px = box.left + f.x(*st->plan);
        const double py = box.top + f.y(*st->plan);
        const auto places = name_places(px, py, text_width(st->label, station_font));
        const SlantedName* best = nullptr;
        double best_cost = 0;
        for (std::size_t i = 0; i < places.size(); ++i) {
            const SlantedName& place = places[i];
            double cost = 0;
            for (const auto& [ox, oy] : obstacles)
                cost += place.covers(ox, oy) ? 1 : 0;
            for (const auto& [ox, oy] : taken)
                cost += place.covers(ox, oy) ? 50 : 0;
            for (const auto& [ox, oy] : place.outline())
                cost += ox < box.left || ox > box.right() || oy < box.top || oy > box.bottom() ? 1000 : 0;
            // Between equals: the other side than the last name, then the order of preference.
            cost += ((place.y < py) == previous_rising ? 0.5 : 0) + 0.01 * static_cast<double>(i);
            if (!best || cost < best_cost) {
                best = &place;
                best_cost = cost;
            }
        }
        previous_rising = best->y < py;
        const auto outline = best->outline();
        taken.insert(taken.end(), outline.begin(), outline.end());
        svg.text(best->x, best->y, st->label,
                 {{"transform", "rotate(" + std::to_string(best->angle) + " " + svg_number(best->x) + " " +
                                    svg_number(best->y) + ")"},
                  {"text-anchor", best->ends_at_anchor ? "end" : "start"}});
    }
    svg.close("g");
}

// Sample points over a rectangle, for names to keep off it.
void add_area(std::vector<std::pair<double, double>>& points, double x0, double y0, double x1, double y1)
{
    for (double x = x0; x <= x1; x += 4)
        for (double y = y0; y <= y1; y += 4)
            points.emplace_back(x, y);
}

} // namespace

double plan_height(const RouteData& route, double width)
{
    if (route.plan.empty())
        return 90;
    const PlanFrame f = frame_of(route, width);
    return (f.v1 - f.v0) * f.scale + 2 * f.top;
}

void draw_plan_legend(SvgWriter& svg, double right, double baseline)
{
    const double x = right - 470;
    const double y = baseline - 4;
    svg.open("g", {{"font-size", "11"}, {"fill", colour::axis}, {"class", "legend"}});
    svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(y)}, {"x2", svg_number(x + 22)}, {"y2", svg_number(y)},
                       {"stroke", colour::track}, {"stroke-width", "2.5"}});
    svg.text(x + 28, baseline, "binario");
    svg.empty("line", {{"x1", svg_number(x + 85)}, {"y1", svg_number(y)}, {"x2", svg_number(x + 107)}, {"y2", svg_number(y)},
                       {"stroke", colour::run_out}, {"stroke-width", "1.5"}, {"stroke-dasharray", "4 3"}});
    svg.text(x + 113, baseline, "oltre la fine");
    svg.empty("circle", {{"cx", svg_number(x + 200)}, {"cy", svg_number(y)}, {"r", "4"}, {"fill", "white"},
                         {"stroke", colour::station}, {"stroke-width", "2"}});
    svg.text(x + 210, baseline, "stazione");
    svg.empty("circle", {{"cx", svg_number(x + 272)}, {"cy", svg_number(y)}, {"r", "2.2"}, {"fill", colour::signal}});
    svg.text(x + 280, baseline, "segnale");
    svg.empty("rect", {{"x", svg_number(x + 337)}, {"y", svg_number(y - 3)}, {"width", "6"}, {"height", "6"},
                       {"fill", colour::board}});
    svg.text(x + 349, baseline, "cartello indicatore");
    svg.close("g");
}

void draw_plan(SvgWriter& svg, const RouteData& route, const Box& box)
{
    svg.empty("rect", {{"x", svg_number(box.left)}, {"y", svg_number(box.top)}, {"width", svg_number(box.width)},
                       {"height", svg_number(box.height)}, {"fill", "#fbfbf8"}, {"stroke", colour::grid}});
    if (route.plan.empty()) {
        svg.text(box.left + box.width / 2, box.top + box.height / 2 + 5,
                 "pianta non disponibile: scenario compilato senza la tabella _linea.dat",
                 {{"text-anchor", "middle"}, {"font-size", "14"}, {"fill", colour::axis}});
        return;
    }
    const PlanFrame f = frame_of(route, box.width);
    draw_grid(svg, f, box);

    if (!route.run_out.empty())
        svg.empty("path", {{"d", path_of(route.run_out, f, box)}, {"fill", "none"}, {"stroke", colour::run_out},
                           {"stroke-width", "1.5"}, {"stroke-dasharray", "4 3"}, {"id", "run-out"}});
    svg.empty("path", {{"d", path_of(route.plan, f, box)}, {"fill", "none"}, {"stroke", colour::track},
                       {"stroke-width", "2.5"}, {"stroke-linejoin", "round"}, {"id", "track"}});

    const auto at = [&](const RouteMark& m) {
        return std::pair{box.left + f.x(*m.plan), box.top + f.y(*m.plan)};
    };
    svg.open("g", {{"fill", colour::signal}, {"class", "signals"}});
    for (const auto& m : route.signals)
        if (m.plan) {
            const auto [x, y] = at(m);
            svg.empty("circle", {{"cx", svg_number(x)}, {"cy", svg_number(y)}, {"r", "2.2"}});
        }
    svg.close("g");
    svg.open("g", {{"fill", colour::board}, {"class", "boards"}});
    for (const auto& m : route.boards)
        if (m.plan) {
            const auto [x, y] = at(m);
            svg.empty("rect", {{"x", svg_number(x - 3)}, {"y", svg_number(y - 3)}, {"width", "6"}, {"height", "6"}});
        }
    svg.close("g");
    svg.open("g", {{"fill", "white"}, {"stroke", colour::station}, {"stroke-width", "2"}, {"class", "stations"}});
    for (const auto& m : route.stations)
        if (m.plan) {
            const auto [x, y] = at(m);
            svg.empty("circle", {{"cx", svg_number(x)}, {"cy", svg_number(y)}, {"r", "4"}});
        }
    svg.close("g");
    // Where the route begins and ends, and the north arrow: the names keep off them.
    const PlanPoint& start = route.plan.front();
    const PlanPoint& end = route.plan.back();
    const double sx = box.left + f.x(start) - 8;
    const double sy = box.top + f.y(start) + 4;
    const double ex = box.left + f.x(end) + 8;
    const double ey = box.top + f.y(end) + 4;
    const std::string end_label = svg_number(static_cast<double>(route.length_m) / 1000) + " km";
    std::vector<std::pair<double, double>> keep_off;
    add_area(keep_off, sx - text_width("0 km", 11), sy - 11, sx, sy + 2);
    add_area(keep_off, ex, ey - 11, ex + text_width(end_label, 11), ey + 2);
    add_area(keep_off, box.left + 4, box.top + 6, box.left + 62, box.top + 60);
    draw_station_names(svg, route, f, box, keep_off);
    draw_north(svg, f, box);
    svg.open("g", {{"font-size", "11"}, {"font-weight", "bold"}, {"fill", colour::track}});
    svg.text(sx, sy, "0 km", {{"text-anchor", "end"}});
    svg.text(ex, ey, end_label);
    svg.close("g");
}

} // namespace autore

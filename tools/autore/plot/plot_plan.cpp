// The upper half of the route picture: the track seen from above, turned so
// that the line runs from left to right like the profile under it (a north
// arrow shows how it lies), with the stations named and the signals and sign
// boards marked on it.
#include "autore/plot/plot_layout.hpp"
#include "autore/route/plan_frame.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

namespace autore {

namespace {

constexpr double station_font = 10;
constexpr double tallest_track = 420; // px: a plan that would stand taller is drawn smaller
constexpr double margin = 18;

// Plan metres to picture pixels: the route's frame, one scale for both ways
// so the plan keeps its shape (to the left of the direction of travel is up).
struct PictureFrame {
    PlanFrame plan;
    PlanPoint start; // the route's start, where the grid's kilometres count from
    double scale = 1;
    double left = 0, top = 0; // where u0 and v1 fall in the picture

    double u(const PlanPoint& p) const { return plan.u(p); }
    double v(const PlanPoint& p) const { return plan.v(p); }
    double x(const PlanPoint& p) const { return left + (u(p) - plan.u0) * scale; }
    double y(const PlanPoint& p) const { return top + (plan.v1 - v(p)) * scale; }
};

double label_room(const RouteData& route)
{
    double widest = 0;
    for (const auto& st : route.stations)
        widest = std::max(widest, text_width(st.label, station_font));
    return std::min(widest * 0.71 + 20, 140.0);
}

PictureFrame frame_of(const RouteData& route, double width)
{
    PictureFrame f;
    f.plan = plan_frame(route.plan, route.run_out);
    f.start = route.plan.front();
    const double span_u = std::max(f.plan.u1 - f.plan.u0, 1.0);
    const double span_v = std::max(f.plan.v1 - f.plan.v0, 1.0);
    // Room at both ends too, for the names of the first and last stations.
    f.top = label_room(route);
    // Room at the left for the north arrow too, so that the track never runs under it.
    const double side = std::max(margin + 0.6 * f.top, 90.0);
    f.scale = std::min((width - 2 * side) / span_u, tallest_track / span_v);
    f.left = side + ((width - 2 * side) - span_u * f.scale) / 2;
    return f;
}

std::string path_of(const std::vector<PlanPoint>& points, const PictureFrame& f, const Box& box)
{
    std::string d;
    for (std::size_t i = 0; i < points.size(); ++i)
        d += (i == 0 ? "M" : " L") + svg_number(box.left + f.x(points[i])) + " " + svg_number(box.top + f.y(points[i]));
    return d;
}

// Km lines along and across the main direction, counted from the start.
void draw_grid(SvgWriter& svg, const PictureFrame& f, const Box& box)
{
    const double step = nice_step(std::max(f.plan.u1 - f.plan.u0, f.plan.v1 - f.plan.v0) / 1000, 10) * 1000;
    const double su = f.u(f.start);
    const double sv = f.v(f.start);
    svg.open("g", {{"stroke", colour::grid}, {"stroke-width", "1"}});
    std::vector<double> across;
    for (double u = su + std::ceil((f.plan.u0 - su) / step) * step; u <= f.plan.u1 + 1e-6; u += step) {
        const double x = box.left + f.left + (u - f.plan.u0) * f.scale;
        across.push_back(u);
        svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(box.top)}, {"x2", svg_number(x)},
                           {"y2", svg_number(box.bottom())}});
    }
    std::vector<double> along;
    for (double v = sv + std::ceil((f.plan.v0 - f.top / f.scale - sv) / step) * step; v <= f.plan.v1 + f.top / f.scale; v += step) {
        const double y = box.top + f.top + (f.plan.v1 - v) * f.scale;
        if (y < box.top || y > box.bottom())
            continue;
        along.push_back(v);
        svg.empty("line", {{"x1", svg_number(box.left)}, {"y1", svg_number(y)}, {"x2", svg_number(box.right())},
                           {"y2", svg_number(y)}});
    }
    svg.close("g");
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}});
    for (const double u : across)
        svg.text(box.left + f.left + (u - f.plan.u0) * f.scale, box.bottom() + 13, svg_number((u - su) / 1000),
                 {{"text-anchor", "middle"}});
    for (const double v : along)
        svg.text(box.left - 5, box.top + f.top + (f.plan.v1 - v) * f.scale + 3, svg_number((v - sv) / 1000),
                 {{"text-anchor", "end"}});
    svg.close("g");
    svg.text(box.right(), box.bottom() + 28, "km nella direzione della linea, dall'inizio",
             {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
    svg.text(box.left - 5, box.top - 6, "km di lato", {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
}

// Which way north lies once the plan is turned.
void draw_north(SvgWriter& svg, const PictureFrame& f, const Box& box)
{
    const double cx = box.left + 30;
    const double cy = box.top + 32;
    const double dx = f.plan.direction.uy;  // north's part along the main direction
    const double dy = -f.plan.direction.ux; // and across it, turned to picture y
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
    int angle = -45;             // -45: rising to the right, 45: falling to the right
    bool ends_at_anchor = false; // the text lies to the left of its anchor
    double width = 0;
    int step = 0;                // how far out along its slant: 0 beside the station, more with a leader

    TextBox box(const std::string& label) const
    {
        return text_box(x, y, label, station_font, ends_at_anchor ? "end" : "start", angle);
    }
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
};

// The ways a name can stand beside its station, in order of preference: to
// the right, rising or falling, then to the left; each also further out
// along its slant, led back to the station by a line.
std::vector<SlantedName> name_places(double px, double py, double width)
{
    constexpr double c = 0.70710678;
    std::vector<SlantedName> out;
    for (int step = 0; step <= 6; ++step) {
        const double out_by = step * 14.0 * c;
        out.push_back({px + 5 + out_by, py - 6 - out_by, -45, false, width, step});
        out.push_back({px + 5 + out_by, py + 12 + out_by, 45, false, width, step});
        out.push_back({px - 5 - out_by, py - 6 - out_by, 45, true, width, step});
        out.push_back({px - 5 - out_by, py + 12 + out_by, -45, true, width, step});
    }
    return out;
}

bool inside(const TextBox& b, const Box& box)
{
    const double rad = b.angle * 3.14159265358979323846 / 180;
    const double c = std::cos(rad), s = std::sin(rad);
    for (const double x : {b.left, b.left + b.width})
        for (const double y : {b.top, b.top + b.height}) {
            const double px = b.turn_x + (x - b.turn_x) * c - (y - b.turn_y) * s;
            const double py = b.turn_y + (x - b.turn_x) * s + (y - b.turn_y) * c;
            if (px < box.left || px > box.right() || py < box.top || py > box.bottom())
                return false;
        }
    return true;
}

// Names slant away from the track, above or below it, where the track and the
// marks (`obstacles`) leave them most room, never over another text; when two
// places are as good, by turns above and below.
void draw_station_names(SvgWriter& svg, const RouteData& route, const PictureFrame& f, const Box& box,
                        const std::vector<std::pair<double, double>>& obstacles)
{
    std::vector<const RouteMark*> named;
    for (const auto& st : route.stations)
        if (st.plan && !st.label.empty())
            named.push_back(&st);
    std::sort(named.begin(), named.end(), [](const RouteMark* a, const RouteMark* b) { return a->at_m < b->at_m; });

    bool previous_rising = false;
    svg.open("g", {{"font-size", svg_number(station_font)}, {"fill", colour::station}, {"class", "station-names"}});
    for (const auto* st : named) {
        const double px = box.left + f.x(*st->plan);
        const double py = box.top + f.y(*st->plan);
        std::optional<SlantedName> best;
        double best_cost = 0;
        const auto places = name_places(px, py, text_width(st->label, station_font));
        for (std::size_t i = 0; i < places.size(); ++i) {
            const SlantedName& place = places[i];
            const TextBox text = place.box(st->label);
            if (!inside(text, box) || !svg.clear_of_texts(text, 2))
                continue;
            double cost = 0;
            for (const auto& [ox, oy] : obstacles)
                cost += place.covers(ox, oy) ? 1 : 0;
            // Between equals: nearer the station, the other side than the last name, the order of preference.
            cost += 4.0 * place.step + ((place.y < py) == previous_rising ? 0.5 : 0) + 0.01 * static_cast<double>(i % 4);
            if (!best || cost < best_cost) {
                best = place;
                best_cost = cost;
            }
        }
        if (!best)
            continue; // no free place at all: the mark stays, unnamed
        previous_rising = best->y < py;
        if (best->step > 0)
            svg.empty("line", {{"x1", svg_number(px)}, {"y1", svg_number(py)}, {"x2", svg_number(best->x)},
                               {"y2", svg_number(best->y + (best->y < py ? 3 : -9))}, {"stroke", colour::station},
                               {"stroke-width", "0.6"}});
        svg.text(best->x, best->y, st->label,
                 {{"transform", "rotate(" + std::to_string(best->angle) + " " + svg_number(best->x) + " " +
                                    svg_number(best->y) + ")"},
                  {"text-anchor", best->ends_at_anchor ? "end" : "start"}});
    }
    svg.close("g");
}

// "0 km" beside the start and the route length beside the end, on the side
// where neither the track nor the run-out beyond the end runs.
void draw_end_label(SvgWriter& svg, double x, double y, const std::string& label, bool at_start,
                    const std::vector<std::pair<double, double>>& track)
{
    constexpr double size = 11;
    const double w = text_width(label, size);
    const double side = at_start ? -8 - w : 8;
    const std::pair<double, double> places[] = {
        {x + side, y + 4}, {x - w / 2, y - 9}, {x - w / 2, y + 16}, {x + side, y - 8}, {x + side, y + 16}};
    std::optional<TextBox> best;
    std::size_t best_cost = 0;
    for (const auto& [tx, ty] : places) {
        const TextBox b = text_box(tx, ty, label, size);
        if (!svg.clear_of_texts(b, 2))
            continue;
        std::size_t cost = 0;
        for (const auto& [px, py] : track)
            cost += px >= b.left - 3 && px <= b.left + b.width + 3 && py >= b.top - 3 && py <= b.top + b.height + 3;
        if (!best || cost < best_cost) {
            best = b;
            best_cost = cost;
        }
    }
    if (best)
        svg.text(best->left, best->top + size * 0.8, label,
                 {{"font-size", svg_number(size)}, {"font-weight", "bold"}, {"fill", colour::track}});
}

// Points along a drawn line, a few pixels apart, for labels to keep off it.
void add_line(std::vector<std::pair<double, double>>& points, const std::vector<PlanPoint>& line, const PictureFrame& f,
              const Box& box)
{
    for (std::size_t i = 1; i < line.size(); ++i) {
        const double x0 = box.left + f.x(line[i - 1]), y0 = box.top + f.y(line[i - 1]);
        const double x1 = box.left + f.x(line[i]), y1 = box.top + f.y(line[i]);
        const int n = std::max(1, static_cast<int>(std::hypot(x1 - x0, y1 - y0) / 3));
        for (int k = 0; k <= n; ++k)
            points.emplace_back(x0 + (x1 - x0) * k / n, y0 + (y1 - y0) * k / n);
    }
}

} // namespace

double plan_height(const RouteData& route, double width)
{
    if (route.plan.empty())
        return 90;
    const PictureFrame f = frame_of(route, width);
    return (f.plan.v1 - f.plan.v0) * f.scale + 2 * f.top;
}

void draw_plan_legend(SvgWriter& svg, double right, double baseline)
{
    const double y = baseline - 4;
    // Each entry: its sign drawn in 22 px, then its name; laid out from the right edge back.
    const auto at = [](double x, double yy) { return svg_number(x) + " " + svg_number(yy); };
    const std::vector<std::pair<const char*, std::function<std::string(double)>>> entries = {
        {"binario", [&](double x) { return "<path d=\"M" + at(x, y) + " h22\" stroke=\"" + std::string(colour::track) +
                                            "\" stroke-width=\"2.5\"/>"; }},
        {"oltre la fine", [&](double x) { return "<path d=\"M" + at(x, y) + " h22\" stroke=\"" + std::string(colour::run_out) +
                                                  "\" stroke-width=\"1.5\" stroke-dasharray=\"4 3\"/>"; }},
        {"montagna", [&](double x) { return "<path d=\"M" + at(x, y) + " h22\" stroke=\"" + std::string(colour::mountain) +
                                             "\" stroke-width=\"7\" stroke-opacity=\"0.35\"/>"; }},
        {"stazione", [&](double x) { return "<circle cx=\"" + svg_number(x + 11) + "\" cy=\"" + svg_number(y) +
                                             "\" r=\"4\" fill=\"white\" stroke=\"" + std::string(colour::station) +
                                             "\" stroke-width=\"2\"/>"; }},
        {"segnale", [&](double x) { return "<circle cx=\"" + svg_number(x + 11) + "\" cy=\"" + svg_number(y) +
                                            "\" r=\"2.2\" fill=\"" + std::string(colour::signal) + "\"/>"; }},
        {"cartello indicatore", [&](double x) { return "<rect x=\"" + svg_number(x + 8) + "\" y=\"" + svg_number(y - 3) +
                                                        "\" width=\"6\" height=\"6\" fill=\"" + std::string(colour::board) + "\"/>"; }},
        {"indicatore di velocità", [&](double x) { return "<path d=\"" + diamond(x + 11, y, 4) + "\" fill=\"" +
                                                           std::string(colour::indicator) + "\"/>"; }},
    };
    double width = 0;
    for (const auto& e : entries)
        width += 28 + text_width(e.first, 11) + 14;
    double x = right - width + 14;
    svg.open("g", {{"font-size", "11"}, {"fill", colour::axis}, {"class", "legend"}});
    for (const auto& e : entries) {
        svg.raw(e.second(x));
        svg.text(x + 28, baseline, e.first);
        x += 28 + text_width(e.first, 11) + 14;
    }
    svg.close("g");
}

void draw_plan(SvgWriter& svg, const RouteData& route, const Box& box)
{
    svg.empty("rect", {{"x", svg_number(box.left)}, {"y", svg_number(box.top)}, {"width", svg_number(box.width)},
                       {"height", svg_number(box.height)}, {"fill", colour::paper}, {"stroke", colour::grid}});
    if (route.plan.empty()) {
        svg.text(box.left + box.width / 2, box.top + box.height / 2 + 5,
                 "pianta non disponibile: scenario compilato senza la tabella _linea.dat",
                 {{"text-anchor", "middle"}, {"font-size", "14"}, {"fill", colour::axis}});
        return;
    }
    const PictureFrame f = frame_of(route, box.width);
    draw_grid(svg, f, box);

    if (!route.run_out.empty())
        svg.empty("path", {{"d", path_of(route.run_out, f, box)}, {"fill", "none"}, {"stroke", colour::run_out},
                           {"stroke-width", "1.5"}, {"stroke-dasharray", "4 3"}, {"id", "run-out"}});
    // Mountain sides as a broad shade under the track.
    svg.open("g", {{"fill", "none"}, {"stroke", colour::mountain}, {"stroke-width", "7"}, {"stroke-opacity", "0.35"},
                   {"class", "mountains"}});
    for (const auto& side : route.sides)
        if (side.plan.size() >= 2)
            svg.empty("path", {{"d", path_of(side.plan, f, box)}});
    svg.close("g");
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
    svg.open("g", {{"fill", colour::indicator}, {"class", "indicators"}});
    for (const auto& m : route.indicators)
        if (m.plan) {
            const auto [x, y] = at(m);
            svg.empty("path", {{"d", diamond(x, y, 3.5)}});
        }
    svg.close("g");
    svg.open("g", {{"fill", "white"}, {"stroke", colour::station}, {"stroke-width", "2"}, {"class", "stations"}});
    for (const auto& m : route.stations)
        if (m.plan) {
            const auto [x, y] = at(m);
            svg.empty("circle", {{"cx", svg_number(x)}, {"cy", svg_number(y)}, {"r", "4"}});
        }
    svg.close("g");
    // The route's ends labelled first, beside the track and off the run-out;
    // then the names, off the track and the marks; none on the north arrow.
    TextBox north;
    north.left = box.left + 4;
    north.top = box.top + 6;
    north.width = 52;
    north.height = 54;
    svg.reserve(north);
    std::vector<std::pair<double, double>> track;
    add_line(track, route.plan, f, box);
    add_line(track, route.run_out, f, box);
    const PlanPoint& start = route.plan.front();
    const PlanPoint& end = route.plan.back();
    draw_end_label(svg, box.left + f.x(start), box.top + f.y(start), "0 km", true, track);
    draw_end_label(svg, box.left + f.x(end), box.top + f.y(end),
                   svg_number(static_cast<double>(route.length_m) / 1000) + " km", false, track);
    std::vector<std::pair<double, double>> obstacles;
    for (std::size_t i = 0; i < track.size(); i += 2)
        obstacles.push_back(track[i]);
    for (const auto* marks : {&route.stations, &route.signals, &route.boards, &route.indicators})
        for (const auto& m : *marks)
            if (m.plan)
                obstacles.emplace_back(box.left + f.x(*m.plan), box.top + f.y(*m.plan));
    draw_station_names(svg, route, f, box, obstacles);
    draw_north(svg, f, box);
}

} // namespace autore

// The lower half of the route picture: what the driver meets along the route,
// km by km: gradient, speed limit and adhesion, with the stations named above
// and the slowdowns shaded.
#include "autore/plot/plot_layout.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace autore {

namespace {

constexpr double names_band = 118; // room for the station names above the strips

// Chainage in metres to picture x.
struct RouteScale {
    double left = 0, width = 0, length_m = 1;
    double x(double m) const { return left + width * std::clamp(m, 0.0, length_m) / length_m; }
};

struct Strip {
    Box box;
    double low = 0, high = 1;
    double y(double v) const { return box.bottom() - box.height * (v - low) / (high - low); }
};

// A profile value per 50 m cell as a stepped line; runs of equal values become one step.
std::string steps(const std::vector<int>& values, const RouteScale& rs, const Strip& strip, int floor_at, int ceil_at)
{
    std::string d;
    const auto clamp = [&](int v) { return std::clamp(v, floor_at, ceil_at); };
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double y = strip.y(clamp(values[i]));
        if (i == 0)
            d = "M" + svg_number(rs.x(0)) + " " + svg_number(y);
        else if (clamp(values[i]) != clamp(values[i - 1]))
            d += " H" + svg_number(rs.x(static_cast<double>(i) * 50)) + " V" + svg_number(y);
    }
    if (!values.empty())
        d += " H" + svg_number(rs.x(rs.length_m));
    return d;
}

void strip_frame(SvgWriter& svg, const Strip& strip, const std::string& title, double step)
{
    const Box& b = strip.box;
    svg.empty("rect", {{"x", svg_number(b.left)}, {"y", svg_number(b.top)}, {"width", svg_number(b.width)},
                       {"height", svg_number(b.height)}, {"fill", colour::paper}, {"stroke", colour::grid}});
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}});
    for (double v = std::ceil(strip.low / step) * step; v <= strip.high + 1e-9; v += step) {
        svg.empty("line", {{"x1", svg_number(b.left)}, {"y1", svg_number(strip.y(v))}, {"x2", svg_number(b.right())},
                           {"y2", svg_number(strip.y(v))}, {"stroke", colour::grid}});
        svg.text(b.left - 5, strip.y(v) + 3, svg_number(v), {{"text-anchor", "end"}});
    }
    svg.close("g");
    // Above the strip, where no line of it can cross the title.
    svg.text(b.left, b.top - 5, title, {{"font-size", "11"}, {"font-weight", "bold"}, {"fill", colour::axis}});
}

Strip make_strip(const Box& box, double low, double high)
{
    if (high <= low)
        high = low + 1;
    return {box, low, high};
}

// A strip from 0 up to a round value above the largest of the values (at least `least`).
Strip value_strip(SvgWriter& svg, const Box& box, const std::vector<int>& values, int least, int ticks,
                  const std::string& title)
{
    int most = least;
    for (const int v : values)
        most = std::max(most, v);
    const double step = nice_step(most, ticks);
    const Strip strip = make_strip(box, 0, std::ceil((most + 1) / step) * step);
    strip_frame(svg, strip, title, step);
    return strip;
}

// Where a slowdown lies across the picture: at least a few pixels wide, so a short one shows.
std::pair<double, double> slowdown_span(const Slowdown& sd, const RouteScale& rs)
{
    const double x0 = rs.x(static_cast<double>(sd.start_m));
    return {x0, std::max(rs.x(static_cast<double>(sd.end_m)), x0 + 3)};
}

void gradient_strip(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box)
{
    int most = 1;
    for (const int g : route.gradient)
        most = std::max(most, std::abs(g));
    const double step = nice_step(most, 2);
    const double limit = std::ceil(most / step) * step;
    const Strip strip = make_strip(box, -limit, limit);
    strip_frame(svg, strip, "pendenza (‰)", step);
    const std::string zero = svg_number(strip.y(0));
    // Rising stretches above the zero line, falling ones below, each closed on it.
    const std::string up = steps(route.gradient, rs, strip, 0, 1000);
    const std::string down = steps(route.gradient, rs, strip, -1000, 0);
    if (!route.gradient.empty()) {
        const std::string close = " V" + zero + " H" + svg_number(rs.x(0)) + " Z";
        svg.empty("path", {{"d", up + close}, {"fill", colour::rising}, {"fill-opacity", "0.75"}, {"id", "gradient-up"}});
        svg.empty("path", {{"d", down + close}, {"fill", colour::falling}, {"fill-opacity", "0.75"}, {"id", "gradient-down"}});
    }
    svg.empty("line", {{"x1", svg_number(box.left)}, {"y1", zero}, {"x2", svg_number(box.right())}, {"y2", zero},
                       {"stroke", colour::axis}, {"stroke-width", "0.8"}});
}

void speed_strip(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box)
{
    const Strip strip = value_strip(svg, box, route.speed_kmh, 20, 4, "velocità massima (km/h)");
    // A slowdown cuts the limit down to its own speed over its stretch.
    for (const auto& sd : route.slowdowns) {
        const auto [x0, x1] = slowdown_span(sd, rs);
        const auto cell = static_cast<std::size_t>(std::max<int64_t>(sd.start_m, 0) / 50);
        const int limit = cell < route.speed_kmh.size() ? route.speed_kmh[cell] : sd.speed_kmh;
        const double y_low = strip.y(std::clamp<double>(sd.speed_kmh, strip.low, strip.high));
        const double y_high = strip.y(std::clamp<double>(std::max(limit, sd.speed_kmh), strip.low, strip.high));
        svg.empty("rect", {{"x", svg_number(x0)}, {"y", svg_number(y_high)}, {"width", svg_number(x1 - x0)},
                           {"height", svg_number(std::max(y_low - y_high, 2.0))}, {"fill", colour::slowdown},
                           {"fill-opacity", "0.9"}, {"class", "slowdown"}});
        // Its speed beside it, below, or under the labels of the slowdowns just before it.
        const std::string label = std::to_string(sd.speed_kmh) + " km/h";
        for (double dy = 12; dy < 12 + 11 * 6; dy += 11) {
            const TextBox b = text_box(x1 + 4, y_low + dy, label, 10);
            if (b.top + b.height > box.bottom() + 14 || !svg.clear_of_texts(b, 1))
                continue;
            svg.text(x1 + 4, y_low + dy, label, {{"font-size", "10"}, {"fill", "#8a5a00"}, {"font-weight", "bold"}});
            break;
        }
    }
    svg.empty("path", {{"d", steps(route.speed_kmh, rs, strip, 0, 100000)}, {"fill", "none"}, {"stroke", colour::speed},
                       {"stroke-width", "1.6"}, {"id", "speed"}});
}

void adhesion_strip(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box)
{
    const Strip strip = value_strip(svg, box, route.adhesion, 10, 3, "aderenza");
    svg.empty("path", {{"d", steps(route.adhesion, rs, strip, 0, 1000)}, {"fill", "none"}, {"stroke", colour::adhesion},
                       {"stroke-width", "1.6"}, {"id", "adhesion"}});
}

// Names above the strips, pushed apart where stations stand close, each led
// down to its own chainage; a dotted line marks the station through every strip.
void station_names(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box, double strips_bottom)
{
    std::vector<const RouteMark*> named;
    for (const auto& st : route.stations)
        named.push_back(&st);
    std::sort(named.begin(), named.end(), [](const RouteMark* a, const RouteMark* b) { return a->at_m < b->at_m; });
    std::vector<double> wanted;
    for (const auto* st : named)
        wanted.push_back(rs.x(static_cast<double>(st->at_m)));
    const std::vector<double> at = spread_apart(wanted, 11, box.left + 4, box.right() - 4);
    const double base = box.top + names_band;
    svg.open("g", {{"stroke", colour::station}, {"stroke-width", "0.7"}, {"fill", "none"}, {"class", "station-lines"}});
    for (std::size_t i = 0; i < named.size(); ++i) {
        svg.empty("path", {{"d", "M" + svg_number(at[i]) + " " + svg_number(base - 14) + " L" + svg_number(wanted[i]) +
                                     " " + svg_number(base)}});
        svg.empty("line", {{"x1", svg_number(wanted[i])}, {"y1", svg_number(base)}, {"x2", svg_number(wanted[i])},
                           {"y2", svg_number(strips_bottom)}, {"stroke-dasharray", "2 3"}, {"stroke-opacity", "0.6"}});
    }
    svg.close("g");
    svg.open("g", {{"font-size", "9.5"}, {"fill", colour::station}, {"class", "station-names"}});
    for (std::size_t i = 0; i < named.size(); ++i) {
        const double x = at[i] + 3;
        const double y = base - 17;
        svg.text(x, y, named[i]->label,
                 {{"transform", "rotate(-90 " + svg_number(x) + " " + svg_number(y) + ")"}});
    }
    svg.close("g");
}

void km_axis(SvgWriter& svg, const RouteScale& rs, double top, double bottom)
{
    const double km = rs.length_m / 1000;
    const double step = nice_step(km, 14);
    svg.open("g", {{"stroke", colour::grid}});
    for (double k = step; k < km; k += step)
        svg.empty("line", {{"x1", svg_number(rs.x(k * 1000))}, {"y1", svg_number(top)}, {"x2", svg_number(rs.x(k * 1000))},
                           {"y2", svg_number(bottom)}});
    svg.close("g");
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}, {"text-anchor", "middle"}});
    for (double k = 0; k <= km + 1e-9; k += step) {
        svg.empty("line", {{"x1", svg_number(rs.x(k * 1000))}, {"y1", svg_number(bottom)}, {"x2", svg_number(rs.x(k * 1000))},
                           {"y2", svg_number(bottom + 4)}, {"stroke", colour::axis}});
        svg.text(rs.x(k * 1000), bottom + 15, svg_number(k));
    }
    svg.close("g");
    svg.text(rs.left + rs.width, bottom + 30, "progressiva lungo il percorso (km)",
             {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
}

// A lane of marks under the strips, its title above it.
Box lane_frame(SvgWriter& svg, const Box& b, const std::string& title)
{
    svg.empty("rect", {{"x", svg_number(b.left)}, {"y", svg_number(b.top)}, {"width", svg_number(b.width)},
                       {"height", svg_number(b.height)}, {"fill", colour::paper}, {"stroke", colour::grid}});
    svg.text(b.left, b.top - 5, title, {{"font-size", "11"}, {"font-weight", "bold"}, {"fill", colour::axis}});
    return b;
}

// Speed indicators: a mark at each, and what it shows where there is room
// (a label that would touch another is left out; the mark stays).
void indicator_lane(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box)
{
    lane_frame(svg, box, "indicatori di velocità (km/h)");
    const double y = box.top + box.height / 2;
    svg.open("g", {{"fill", colour::indicator}, {"class", "indicator-lane"}});
    for (const auto& m : route.indicators)
        svg.empty("path", {{"d", diamond(rs.x(static_cast<double>(m.at_m)), y, 5)}});
    svg.close("g");
    svg.open("g", {{"font-size", "9"}, {"fill", colour::indicator}, {"class", "indicator-labels"}});
    std::vector<TextBox> marks;
    for (const auto& m : route.indicators)
        marks.push_back(text_box(rs.x(static_cast<double>(m.at_m)) - 4, y + 5, "", 10));
    for (auto& mark : marks)
        mark.width = 8;
    for (const auto& m : route.indicators) {
        const double x = rs.x(static_cast<double>(m.at_m));
        for (const double tx : {x + 7, x - 7 - text_width(m.label, 9)}) {
            const TextBox b = text_box(tx, y + 3.5, m.label, 9);
            const bool off_marks = std::none_of(marks.begin(), marks.end(), [&](const TextBox& k) { return overlaps(b, k, 1); });
            if (b.left >= box.left && b.left + b.width <= box.right() && off_marks && svg.clear_of_texts(b, 2)) {
                svg.text(tx, y + 3.5, m.label);
                break;
            }
        }
    }
    svg.close("g");
}

// Mountain sides: the stretches shaded by their side code, the markers on top.
void mountain_lane(SvgWriter& svg, const RouteData& route, const RouteScale& rs, const Box& box)
{
    lane_frame(svg, box, "montagna (codice del lato)");
    svg.open("g", {{"fill", colour::mountain}, {"class", "mountain-lane"}});
    for (const auto& side : route.sides) {
        const double x0 = rs.x(static_cast<double>(side.start_m));
        const double x1 = std::max(rs.x(static_cast<double>(side.end_m)), x0 + 1);
        svg.empty("rect", {{"x", svg_number(x0)}, {"y", svg_number(box.top + box.height * 0.45)},
                           {"width", svg_number(x1 - x0)}, {"height", svg_number(box.height * 0.45)},
                           {"fill-opacity", side.side == 3 ? "0.8" : side.side == 2 ? "0.55" : "0.35"}});
    }
    for (const auto& m : route.mountain_markers) {
        const double x = rs.x(static_cast<double>(m.at_m));
        const double top = box.top + 2;
        svg.empty("path", {{"d", "M" + svg_number(x) + " " + svg_number(top) + " l3 5 h-6 Z"}});
    }
    svg.close("g");
    svg.open("g", {{"font-size", "9"}, {"fill", colour::mountain}});
    for (const auto& side : route.sides) {
        const std::string label = std::to_string(side.side);
        const double x = (rs.x(static_cast<double>(side.start_m)) + rs.x(static_cast<double>(side.end_m))) / 2;
        const TextBox b = text_box(x, box.top + box.height * 0.4, label, 9, "middle");
        if (svg.clear_of_texts(b, 2))
            svg.text(x, box.top + box.height * 0.4, label, {{"text-anchor", "middle"}});
    }
    svg.close("g");
}

// The official kilometre under the route's own: each count's stretch gets
// its ticks, and where a count starts (again, or counting down) a taller mark
// names its first kilometre.
void official_km_axis(SvgWriter& svg, const RouteData& route, const RouteScale& rs, double top)
{
    const double length = rs.length_m;
    std::vector<int64_t> starts{0};
    for (const Chainage& c : route.chainages)
        if (c.start_m > 0 && static_cast<double>(c.start_m) < length)
            starts.push_back(c.start_m);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const double step = nice_step(length / 1000, 14) * 1000;
    svg.empty("line", {{"x1", svg_number(rs.x(0))}, {"y1", svg_number(top)}, {"x2", svg_number(rs.x(length))},
                       {"y2", svg_number(top)}, {"stroke", colour::axis}});
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}, {"class", "official-km"}});
    for (std::size_t i = 1; i < starts.size(); ++i) {
        const double x = rs.x(static_cast<double>(starts[i]));
        svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(top - 4)}, {"x2", svg_number(x)},
                           {"y2", svg_number(top + 16)}, {"stroke", colour::axis}, {"stroke-width", "2"}});
        const int64_t km = official_km_m(route.chainages, starts[i]);
        const bool falling = official_km_m(route.chainages, starts[i] + 1) < km;
        const std::string label = km_text(km) + (falling ? " ↓" : "");
        const TextBox b = text_box(x + 3, top + 14, label, 10);
        if (svg.clear_of_texts(b, 2))
            svg.text(x + 3, top + 14, label, {{"font-weight", "bold"}});
    }
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int64_t from = starts[i];
        const int64_t to = i + 1 < starts.size() ? starts[i + 1] : static_cast<int64_t>(length);
        const int64_t k0 = official_km_m(route.chainages, from);
        // The route's end belongs to the last count; any other stretch ends just before the next count starts.
        const int64_t k1 = official_km_m(route.chainages, i + 1 < starts.size() ? std::max(from, to - 1) : to);
        const bool falling = k1 < k0;
        const double lo = static_cast<double>(std::min(k0, k1)), hi = static_cast<double>(std::max(k0, k1));
        for (double k = std::ceil(lo / step) * step; k <= hi; k += step) {
            const double m = falling ? static_cast<double>(from) + (static_cast<double>(k0) - k)
                                     : static_cast<double>(from) + (k - static_cast<double>(k0));
            const double x = rs.x(m);
            const std::string label = svg_number(k / 1000);
            const TextBox b = text_box(x, top + 14, label, 10, "middle");
            if (!svg.clear_of_texts(b, 3))
                continue;
            svg.empty("line", {{"x1", svg_number(x)}, {"y1", svg_number(top)}, {"x2", svg_number(x)},
                               {"y2", svg_number(top + 4)}, {"stroke", colour::axis}});
            svg.text(x, top + 14, label, {{"text-anchor", "middle"}});
        }
    }
    svg.close("g");
    svg.text(rs.left + rs.width, top + 29, "km ufficiale (quello dei cartelli, dell'orario e dei rallentamenti)",
             {{"font-size", "11"}, {"text-anchor", "end"}, {"fill", colour::axis}});
}

} // namespace

void draw_profile(SvgWriter& svg, const RouteData& route, const Box& box)
{
    const RouteScale rs{box.left, box.width, std::max<double>(static_cast<double>(route.length_m), 50)};
    // Under the names: three strips and two lanes, each with its title above it, then the two axes.
    constexpr double title_room = 20;
    constexpr double indicator_height = 26;
    constexpr double mountain_height = 18;
    constexpr double axes = 82;
    const double free = box.height - names_band - 5 * title_room - indicator_height - mountain_height - axes;
    const Box gradient{box.left, box.top + names_band + title_room, box.width, free * 0.36};
    const Box speed{box.left, gradient.bottom() + title_room, box.width, free * 0.38};
    const Box adhesion{box.left, speed.bottom() + title_room, box.width, free * 0.26};
    const Box indicators{box.left, adhesion.bottom() + title_room, box.width, indicator_height};
    const Box mountains{box.left, indicators.bottom() + title_room, box.width, mountain_height};

    // The station names first: every later label keeps off them.
    station_names(svg, route, rs, box, mountains.bottom());
    gradient_strip(svg, route, rs, gradient);
    speed_strip(svg, route, rs, speed);
    adhesion_strip(svg, route, rs, adhesion);
    // Slowdowns shaded through every strip.
    svg.open("g", {{"fill", colour::slowdown}, {"fill-opacity", "0.2"}});
    for (const auto& sd : route.slowdowns) {
        const auto [x0, x1] = slowdown_span(sd, rs);
        svg.empty("rect", {{"x", svg_number(x0)}, {"y", svg_number(gradient.top)}, {"width", svg_number(x1 - x0)},
                           {"height", svg_number(adhesion.bottom() - gradient.top)}});
    }
    svg.close("g");
    km_axis(svg, rs, gradient.top, mountains.bottom());
    official_km_axis(svg, route, rs, mountains.bottom() + 38);
    indicator_lane(svg, route, rs, indicators);
    mountain_lane(svg, route, rs, mountains);
}

} // namespace autore

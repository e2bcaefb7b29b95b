// The lower half of the route picture: what the driver meets along the route,
// km by km: gradient, speed limit and adhesion, with the stations named above
// and the slowdowns shaded.
#include "autore/plot_layout.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace autore {

namespace {

constexpr double names_band = 118; // room for the station names above the strips
constexpr double strip_gap = 22;

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
                       {"height", svg_number(b.height)}, {"fill", "#fbfbf8"}, {"stroke", colour::grid}});
    svg.open("g", {{"font-size", "10"}, {"fill", colour::axis}});
    for (double v = std::ceil(strip.low / step) * step; v <= strip.high + 1e-9; v += step) {
        svg.empty("line", {{"x1", svg_number(b.left)}, {"y1", svg_number(strip.y(v))}, {"x2", svg_number(b.right())},
                           {"y2", svg_number(strip.y(v))}, {"stroke", colour::grid}});
        svg.text(b.left - 5, strip.y(v) + 3, svg_number(v), {{"text-anchor", "end"}});
    }
    svg.close("g");
    svg.text(b.left + 6, b.top + 13, title, {{"font-size", "11"}, {"font-weight", "bold"}, {"fill", colour::axis}});
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
    double last_label_x = -1e9;
    double last_label_y = -1e9;
    for (const auto& sd : route.slowdowns) {
        const auto [x0, x1] = slowdown_span(sd, rs);
        const auto cell = static_cast<std::size_t>(std::max<int64_t>(sd.start_m, 0) / 50);
        const int limit = cell < route.speed_kmh.size() ? route.speed_kmh[cell] : sd.speed_kmh;
        const double y_low = strip.y(std::clamp<double>(sd.speed_kmh, strip.low, strip.high));
        const double y_high = strip.y(std::clamp<double>(std::max(limit, sd.speed_kmh), strip.low, strip.high));
        svg.empty("rect", {{"x", svg_number(x0)}, {"y", svg_number(y_high)}, {"width", svg_number(x1 - x0)},
                           {"height", svg_number(std::max(y_low - y_high, 2.0))}, {"fill", colour::slowdown},
                           {"fill-opacity", "0.9"}, {"class", "slowdown"}});
        // Labels of slowdowns that stand close together go one under the other.
        double label_y = y_low + 12;
        if (x0 - last_label_x < 50 && std::abs(label_y - last_label_y) < 11)
            label_y = last_label_y + 11;
        last_label_x = x0;
        last_label_y = label_y;
        svg.text(x1 + 4, label_y, std::to_string(sd.speed_kmh) + " km/h",
                 {{"font-size", "10"}, {"fill", "#8a5a00"}, {"font-weight", "bold"}});
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

} // namespace

void draw_profile(SvgWriter& svg, const RouteData& route, const Box& box)
{
    const RouteScale rs{box.left, box.width, std::max<double>(static_cast<double>(route.length_m), 50)};
    const double free = box.height - names_band - 2 * strip_gap - 36;
    const Box gradient{box.left, box.top + names_band, box.width, free * 0.36};
    const Box speed{box.left, gradient.bottom() + strip_gap, box.width, free * 0.38};
    const Box adhesion{box.left, speed.bottom() + strip_gap, box.width, free * 0.26};

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
    km_axis(svg, rs, gradient.top, adhesion.bottom());
    station_names(svg, route, rs, box, adhesion.bottom());
}

} // namespace autore

#pragma once
// Geometry shared by the two halves of the route picture.

#include "autore/route/route_colours.hpp"
#include "autore/route/route_data.hpp"
#include "autore/route/svg_writer.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace autore {

struct Box {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// A round step (1, 2 or 5 times a power of ten) giving about `wanted` ticks over span.
double nice_step(double span, int wanted);

// Moves label positions apart so that neighbours keep at least `gap` between
// them, staying within [low, high] and in their order; positions come sorted.
std::vector<double> spread_apart(const std::vector<double>& wanted, double gap, double low, double high);

// An upright diamond of half-height r about x, y, as a path.
std::string diamond(double x, double y, double r);


// The height the plan needs at this width: the track at one scale plus room
// for the station names above and below it.
double plan_height(const RouteData& route, double width);
// The key to the plan's marks, on one line ending at `right`.
void draw_plan_legend(SvgWriter& svg, double right, double baseline);
// Draws the plan of the track into the box.
void draw_plan(SvgWriter& svg, const RouteData& route, const Box& box);
// Draws the profile strips into the box.
void draw_profile(SvgWriter& svg, const RouteData& route, const Box& box);

} // namespace autore

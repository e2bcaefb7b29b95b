#pragma once
// Geometry shared by the two halves of the route picture.

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

// The colours of the picture, one place for all.
namespace colour {
inline constexpr const char* track = "#2b2b2b";
inline constexpr const char* run_out = "#a0a0a0";
inline constexpr const char* station = "#1f4e9a";
inline constexpr const char* signal = "#c62828";
inline constexpr const char* board = "#ef8a17";
inline constexpr const char* slowdown = "#f9a825";
inline constexpr const char* grid = "#e4e4e4";
inline constexpr const char* axis = "#555555";
inline constexpr const char* rising = "#b5651d";
inline constexpr const char* falling = "#2e7d32";
inline constexpr const char* speed = "#1565c0";
inline constexpr const char* adhesion = "#6a1b9a";
inline constexpr const char* indicator = "#00838f";
inline constexpr const char* mountain = "#795548";
} // namespace colour

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

#pragma once
// One SVG picture of a compiled scenario that opens in a browser as it is: the
// track plan from the line table with stations, signals and sign boards, and
// under it the profile along the route (gradient, speed limit, adhesion, with
// stations and slowdowns), both with axes in km.

#include "autore/route/route_data.hpp"
#include "autore/scenario_files/route_output.hpp"
#include "autore/route/svg_writer.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace autore {

struct PlotOptions {
    std::string scenario; // UTF-8; chooses among several scenarios in one folder
    std::string train;
    std::size_t plan_points = picture_plan_points; // the track plan is thinned out to about this many points
};

using PlotReport = DocumentReport;

// inputs: one folder, or the ".sim" and ".dat" files with or without the "_linea.dat".
// The picture goes to svg_file, which must end in ".svg", be a regular file
// or not exist yet, and not be one of the inputs; "-" writes it to standard output.
PlotReport plot_route(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& svg_file,
                      const PlotOptions& options);

// The picture as SVG text; with `texts`, also where each of its texts lies.
std::string route_svg(const RouteData& route, std::vector<TextBox>* texts = nullptr);

} // namespace autore

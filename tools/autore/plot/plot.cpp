#include "autore/plot/plot.hpp"

#include "autore/plot/plot_layout.hpp"

namespace autore {

namespace {

constexpr double picture_width = 1240;
constexpr double margin_left = 70;
constexpr double margin_right = 30;
constexpr double profile_height = 700;

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string summary_line(const RouteData& r)
{
    return svg_number(static_cast<double>(r.length_m) / 1000) + " km · " +
           counted(r.stations.size(), "stazione", "stazioni") + " · " + counted(r.signals.size(), "segnale", "segnali") +
           " · " + counted(r.boards.size(), "cartello", "cartelli") + " · " +
           counted(r.indicators.size(), "indicatore", "indicatori") + " · " +
           counted(r.slowdowns.size(), "rallentamento", "rallentamenti");
}

} // namespace

std::string route_svg(const RouteData& route, std::vector<TextBox>* texts)
{
    const double inner = picture_width - margin_left - margin_right;
    const Box plan{margin_left, 86, inner, plan_height(route, inner)};
    const Box profile{margin_left, plan.bottom() + 62, inner, profile_height};
    SvgWriter svg(picture_width, profile.bottom() + 20);
    svg.open("g", {{"font-family", "DejaVu Sans, Verdana, Arial, sans-serif"}});
    svg.empty("rect", {{"width", "100%"}, {"height", "100%"}, {"fill", "white"}});
    svg.text(margin_left, 34, route.scenario + " — " + route.train,
             {{"font-size", "22"}, {"font-weight", "bold"}, {"fill", "#222"}});
    svg.text(margin_left, 56, summary_line(route), {{"font-size", "13"}, {"fill", colour::axis}});
    svg.text(margin_left, plan.top - 10, "Pianta della linea", {{"font-size", "14"}, {"font-weight", "bold"}, {"fill", "#333"}});
    draw_plan_legend(svg, plan.right(), plan.top - 10);
    draw_plan(svg, route, plan);
    svg.text(margin_left, profile.top - 10, "Profilo del percorso",
             {{"font-size", "14"}, {"font-weight", "bold"}, {"fill", "#333"}});
    draw_profile(svg, route, profile);
    svg.close("g");
    if (texts != nullptr)
        *texts = svg.texts();
    return svg.finish();
}

PlotReport plot_route(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& svg_file,
                      const PlotOptions& options)
{
    const DocumentRequest request{inputs, options.scenario, options.train, svg_file, {".svg"}, nullptr};
    return write_route_document(request, [&](const LoadedScenario& loaded) {
        const auto* table = loaded.line_table ? &*loaded.line_table : nullptr;
        return route_svg(gather_route(loaded.records, loaded.cells, table, options.plan_points));
    });
}

} // namespace autore

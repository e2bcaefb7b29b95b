#include "autore/plot.hpp"

#include "app/files.hpp"
#include "autore/binary_files.hpp"
#include "autore/plot_layout.hpp"
#include "model/byte_reader.hpp"

#include <system_error>

namespace autore {

namespace {

constexpr double picture_width = 1240;
constexpr double margin_left = 70;
constexpr double margin_right = 30;
constexpr double profile_height = 560;

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string summary_line(const RouteData& r)
{
    return svg_number(static_cast<double>(r.length_m) / 1000) + " km · " +
           counted(r.stations.size(), "stazione", "stazioni") + " · " + counted(r.signals.size(), "segnale", "segnali") +
           " · " + counted(r.boards.size(), "cartello", "cartelli") + " · " +
           counted(r.slowdowns.size(), "rallentamento", "rallentamenti");
}

} // namespace

std::string route_svg(const RouteData& route)
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
    return svg.finish();
}

PlotReport plot_route(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& svg_file,
                      const PlotOptions& options)
{
    PlotReport report;
    try {
        std::error_code ec;
        const CompiledFiles files = inputs.size() == 1 && std::filesystem::is_directory(inputs.front(), ec)
                                        ? find_compiled(inputs.front(), options.scenario, options.train)
                                        : sort_compiled(inputs);
        const auto records = load_records(files.records);
        const auto cells = load_cells(files.grid);
        std::optional<tratta::DecodedLineProfile> table;
        if (files.line_table)
            table = load_line_table(*files.line_table);
        const RouteData route = gather_route(records, cells, table ? &*table : nullptr, options.plan_points);
        tratta::write_file_replacing(svg_file, route_svg(route));
        report.written.push_back(svg_file);
    } catch (const FindError& e) {
        report.exit_status = 1;
        report.problems.emplace_back(e.what());
    } catch (const tratta::FileFailure& e) {
        report.exit_status = 1;
        report.problems.emplace_back(e.what());
    } catch (const tratta::LayoutError& e) {
        report.exit_status = 1;
        report.problems.push_back(std::string("formato non valido: ") + e.what());
    }
    return report;
}

} // namespace autore

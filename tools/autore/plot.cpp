#include "autore/plot.hpp"

#include "app/file_checks.hpp"
#include "app/files.hpp"
#include "app/standard_output.hpp"
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

// The picture would take the place of a file it is drawn from.
void refuse_output_among_inputs(const std::filesystem::path& svg_file, const CompiledFiles& files)
{
    std::vector<std::filesystem::path> read = {files.records, files.grid};
    if (files.line_table)
        read.push_back(*files.line_table);
    for (const auto& input : read)
        if (tratta::same_file(svg_file, input))
            throw FindError("il file da scrivere \"" + tratta::display_path(svg_file) + "\" è uno dei file letti (\"" +
                            tratta::display_path(input) + "\"): nulla è stato scritto");
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
        const bool to_standard_output = svg_file == standard_output_name;
        if (!to_standard_output)
            tratta::check_output_path(svg_file);
        std::error_code ec;
        const CompiledFiles files = inputs.size() == 1 && std::filesystem::is_directory(inputs.front(), ec)
                                        ? find_compiled(inputs.front(), options.scenario, options.train)
                                        : sort_compiled(inputs);
        if (!to_standard_output)
            refuse_output_among_inputs(svg_file, files);
        const auto records = load_records(files.records);
        const auto cells = load_cells(files.grid);
        std::optional<tratta::LineProfile> table;
        if (files.line_table)
            table = load_line_table(*files.line_table);
        const RouteData route = gather_route(records, cells, table ? &*table : nullptr, options.plan_points);
        if (to_standard_output) {
            tratta::write_standard_output(route_svg(route));
        } else {
            tratta::write_file_replacing(svg_file, route_svg(route));
            report.written.push_back(svg_file);
        }
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

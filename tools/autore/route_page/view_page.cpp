#include "autore/route_page/view_page.hpp"

#include "autore/route/svg_writer.hpp"
#include "autore/route_page/page_assets.hpp"
#include "autore/route_page/view_data.hpp"

#include <initializer_list>
#include <stdexcept>

namespace autore {

namespace {

// The data stands inside a script element: no "<" may end it early, and
// "\u003c" means the same inside a JSON string ("<" occurs nowhere else in JSON).
std::string script_safe(const std::string& json_text)
{
    std::string out;
    out.reserve(json_text.size());
    for (const char c : json_text) {
        if (c == '<')
            out += "\\u003c";
        else
            out += c;
    }
    return out;
}

struct Filling {
    std::string_view marker;
    std::string_view content;
};

// The template with each marker replaced by its content, in one pass over the
// template alone, so that no content is ever taken for a marker.
std::string filled(std::string_view page, std::initializer_list<Filling> fillings)
{
    std::string out;
    std::size_t from = 0;
    for (const Filling& f : fillings) {
        const auto at = page.find(f.marker, from);
        if (at == std::string_view::npos)
            throw std::logic_error("modello della pagina senza " + std::string(f.marker));
        out += page.substr(from, at - from);
        out += f.content;
        from = at + f.marker.size();
    }
    out += page.substr(from);
    return out;
}

} // namespace

std::string view_page(const LoadedScenario& scenario, const ViewExtras& extras)
{
    const auto data = view_data(scenario, extras);
    const std::string title = data["scenario"].get<std::string>() + " — " + data["train"].get<std::string>();
    // Texts come from the files as Windows-1252 and are valid UTF-8 here;
    // a file name on the command line may not be, and gets U+FFFD.
    const std::string json_text = data.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    // The markers stand in the template in this order.
    return filled(page_assets::html(), {{"@TITLE@", xml_escaped(title)},
                                        {"@STYLE@", page_assets::style()},
                                        {"@DATA@", script_safe(json_text)},
                                        {"@SCRIPT@", page_assets::script()}});
}

DocumentReport view_route(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& html_file,
                          const ViewOptions& options, const ViewExtras& extras)
{
    const DocumentRequest request{inputs, options.scenario, options.train, html_file, {".html", ".htm"}, options.sources};
    return write_route_document(request, [&](const LoadedScenario& loaded) { return view_page(loaded, extras); });
}

} // namespace autore

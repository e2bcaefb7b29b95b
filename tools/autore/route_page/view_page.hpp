#pragma once
// The route page: one HTML file that holds its script, its style and the
// scenario's data, and so opens from disk in any current browser with no
// network and no file beside it. It shows the track plan and under it the
// profile along the route, with one chainage cursor, zoom, layers and what
// every object is and where it came from.

#include "autore/scenario_files/route_output.hpp"
#include "autore/route_page/view_extras.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace autore {

struct ViewOptions {
    std::string scenario; // UTF-8; chooses among several scenarios in one folder
    std::string train;
    // Given: fills the page's extras from the sources of the files found, or
    // says why they do not belong to them (nothing is then written).
    std::function<std::optional<std::string>(const CompiledFiles&)> sources;
};

// The whole page for this scenario.
std::string view_page(const LoadedScenario& scenario, const ViewExtras& extras);

// inputs: one folder, or the ".sim" and ".dat" files with or without the
// "_linea.dat"; the page is only written under a name that ends in ".html" or ".htm".
DocumentReport view_route(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& html_file,
                          const ViewOptions& options, const ViewExtras& extras);

} // namespace autore

#include "autore/serve/live_route.hpp"

#include "app/source_files.hpp"
#include "autore/route_page/view_data.hpp"
#include "autore/route_page/view_page.hpp"

#include <chrono>
#include <utility>

namespace autore::serve {

namespace {

using json = nlohmann::ordered_json;

// Both files as they lie now, with whether each could be read, so that a
// file removed or made unreadable is a change like an edit.
std::string bytes_of(const CompileRequest& files)
{
    std::string all;
    for (const auto* file : {&files.line_file, &files.train_file}) {
        const tratta::LoadedSource source = tratta::load_source(*file);
        all += std::to_string(static_cast<int>(source.state)) + ':' + std::to_string(source.bytes.size()) + ':';
        all += source.bytes;
    }
    return all;
}

// The line file's part of what bytes_of read.
std::string line_bytes_of(const std::string& both)
{
    const auto first = both.find(':');
    const auto second = both.find(':', first + 1);
    const std::size_t size = std::stoull(both.substr(first + 1, second - first - 1));
    return both.substr(0, second + 1 + size);
}

// The route's length, for which the plan is made.
int64_t route_end_m(const LoadedScenario& scenario)
{
    return scenario.records[tratta::ScenarioRecords::train_header].end_m;
}

// The page's data, made with "plan": null, with the plan's text in its place.
// Written with no blanks, the key stands once and only as the key: a text
// holding those characters has its quotes escaped.
std::string with_plan(const std::string& data, const std::string& plan)
{
    static const std::string empty = "\"plan\":null";
    const auto at = data.find(empty);
    if (at == std::string::npos)
        return data;
    std::string whole;
    whole.reserve(data.size() + plan.size());
    whole.append(data, 0, at + empty.size() - 4).append(plan).append(data, at + empty.size());
    return whole;
}

} // namespace

LiveRoute::LiveRoute(CompileRequest files)
    : files_(std::move(files)),
      start_(std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count()))
{
}

std::optional<std::string> LiveRoute::start()
{
    refresh();
    if (drawing_)
        return std::nullopt;
    json data = json::parse(state()->data, nullptr, false);
    const json& problem = data["live"]["problem"];
    return problem.is_string() ? problem.get<std::string>() : "le sorgenti non danno nessun percorso da disegnare";
}

bool LiveRoute::refresh()
{
    std::string bytes = bytes_of(files_);
    if (state_ && bytes == last_bytes_)
        return false;
    last_bytes_ = std::move(bytes);
    std::string line_bytes = line_bytes_of(last_bytes_);

    SourcesPage page;
    std::string problem;
    try {
        // A save that leaves the line file as it was (the train file edited)
        // keeps the track plan already drawn: the compile need not lay it metre
        // by metre, the most work on a long route. A route that came out of
        // another length after all is compiled again with its plan.
        const bool same_line = plan_ && plan_->line_bytes == line_bytes;
        if (auto cannot = page_from_sources(files_, page, !same_line))
            problem = *cannot;
        else if (same_line && page.scenario && route_end_m(*page.scenario) != plan_->end_m) {
            page = SourcesPage{};
            if (auto again = page_from_sources(files_, page, true))
                problem = *again;
        }
    } catch (const std::exception& e) {
        problem = e.what(); // an image that cannot be read back: told, and the last drawing stays
    }
    if (!problem.empty()) {
        // A file saved half-way or removed: the last drawing and its
        // diagnostics stay, told as not current.
        publish(false, problem);
        return true;
    }
    diagnostics_ = page.extras.diagnostics;
    // A drawing with a data error stops at the error: it takes the place
    // only of one that had errors too.
    if (page.scenario && (!page.data_error || !drawing_ || !drawing_->clean)) {
        const int64_t end_m = route_end_m(*page.scenario);
        if (!plan_ || plan_->line_bytes != line_bytes || plan_->end_m != end_m)
            plan_ = Plan{std::move(line_bytes), end_m,
                         view_plan(*page.scenario).dump(-1, ' ', false, json::error_handler_t::replace),
                         start_ + "-p" + std::to_string(++plans_)};
        drawing_ = Drawing{std::move(*page.scenario), std::move(page.extras), !page.data_error};
    }
    publish(drawing_ && drawing_->clean && !page.data_error && page.scenario.has_value(),
            drawing_ ? "" : "le sorgenti non danno nessun percorso da disegnare");
    return true;
}

void LiveRoute::publish(bool current, const std::string& problem)
{
    auto next = std::make_shared<PageState>();
    next->serial = start_ + "-" + std::to_string(++count_);
    json live = {{"serial", next->serial},
                 {"current", current},
                 {"problem", problem.empty() ? json(nullptr) : json(problem)}};
    if (drawing_) {
        ViewExtras extras = drawing_->extras;
        extras.diagnostics = diagnostics_;
        // The data is made without the plan, which is already text, and the
        // plan laid into its place.
        json data = view_data(drawing_->scenario, extras, json(nullptr));
        live["plan"] = plan_->id;
        data["live"] = live;
        next->title = page_title(data);
        next->plan = plan_->id;
        next->data_without_plan = data.dump(-1, ' ', false, json::error_handler_t::replace);
        next->data = with_plan(next->data_without_plan, plan_->text);
    } else {
        // Nothing ever drew: the state only says why.
        next->title = "autore serve";
        next->data = json{{"live", live}}.dump(-1, ' ', false, json::error_handler_t::replace);
        next->data_without_plan = next->data;
    }
    const std::lock_guard lock(mutex_);
    state_ = std::move(next);
}

std::shared_ptr<const PageState> LiveRoute::state() const
{
    const std::lock_guard lock(mutex_);
    return state_;
}

std::string LiveRoute::page() const
{
    const auto now = state();
    return route_page(now->title, now->data, true);
}

} // namespace autore::serve

#pragma once
// The route page of two source files kept up to date while the author edits
// them: each look at the files compiles them again in memory when they
// changed, and makes the page's data anew. A drawing is current when the
// sources compile without a data error; with one, the page keeps the last
// drawing that did, marked as not current, and shows the new diagnostics on
// it. A file that cannot be read is told, and the last drawing stays.

#include "autore/analysis/view_sources.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace autore::serve {

// One state of the page: its data (JSON text, one line) and its serial,
// which grows by one with each change. The track plan, the largest part of the
// data on a long route, changes only with the line file: a page that already
// holds the state's plan (the same `plan`) is sent the data without it.
struct PageState {
    std::string serial; // "<start>-<n>": a server started again never repeats one
    std::string title;
    std::string data;
    std::string plan;              // which plan the data carries ("<start>-p<n>"; empty: none drawn yet)
    std::string data_without_plan; // the data with "plan": null, for a page that holds this plan
};

class LiveRoute {
public:
    explicit LiveRoute(CompileRequest files);

    // The first look: a problem when there is nothing to draw at all (a file
    // that cannot be read, sources that make no route).
    std::optional<std::string> start();

    // Reads the files again; true when what they hold changed, and with it the page.
    bool refresh();

    std::shared_ptr<const PageState> state() const;
    // The whole page, its data the current state's.
    std::string page() const;

private:
    struct Drawing {
        LoadedScenario scenario;
        ViewExtras extras;
        bool clean = false; // compiled without a data error
    };
    // The track plan drawn, as JSON text, with what it was made from.
    struct Plan {
        std::string line_bytes; // the line file as read
        int64_t end_m = 0;      // the route's length
        std::string text;
        std::string id;
    };
    void publish(bool current, const std::string& problem);

    CompileRequest files_;
    std::string last_bytes_; // both files as last read, to tell a change
    std::optional<Plan> plan_; // of the drawing
    uint64_t plans_ = 0;
    std::optional<Drawing> drawing_; // the last drawing that compiled (or, before any, one with errors)
    std::vector<ViewDiagnostic> diagnostics_; // of the files as last read
    std::string start_;
    uint64_t count_ = 0;
    mutable std::mutex mutex_;
    std::shared_ptr<const PageState> state_;
};

} // namespace autore::serve

#include "autore/analysis/check.hpp"

#include "app/compile_purpose.hpp"
#include "autore/analysis/rules.hpp"
#include "source/field_reader.hpp"
#include "source/grid_check.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace autore {

namespace {

using tratta::CompileInput;
using tratta::CompilePurpose;
using tratta::CompileResult;
using tratta::ErrorNumber;
using tratta::SourceFile;
using tratta::SourcePlace;
using tratta::SourceText;
using tratta::TracedField;

// Reading the files again after each stopping error finds the errors behind
// it; so many rounds are enough for any file an author writes by hand.
constexpr int hidden_error_rounds = 100;
// A line beyond the grid stands for the others like it: so many are named.
constexpr std::size_t lines_beyond_named = 5;

// The given lines of a source text (1-based, the reader's count of lines)
// turned into blanks, in one pass: to the reader each is an empty field.
void blank_lines(std::string& text, std::vector<int32_t> lines)
{
    std::sort(lines.begin(), lines.end());
    const std::vector<std::size_t> starts = tratta::line_offsets(text, lines);
    for (const std::size_t start : starts) {
        const tratta::LineSpan line = tratta::line_at(text, start);
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(line.start), text.begin() + static_cast<std::ptrdiff_t>(line.end), ' ');
    }
}

// A field of one line replaced by another text, which may be longer: only
// the columns after it on that line move, no other line. Gives back the
// bytes it replaced (none when the field is not where the place says).
std::string replace_field(std::string& text, const SourcePlace& field, std::string_view with)
{
    const std::size_t line_start = tratta::line_offsets(text, {field.line}).front();
    const std::size_t from = line_start + static_cast<std::size_t>(field.column - 1);
    const std::size_t width = static_cast<std::size_t>(field.end_column - field.column);
    if (field.column < 1 || width == 0 || from > text.size() || width > text.size() - from)
        return {};
    std::string was = text.substr(from, width);
    text.replace(from, width, with);
    return was;
}

// The line that stopped the reading: the first error with a line of its own
// (not one the finishing pass or the chainage check found after reading), or
// the object that took the stamp fields of cell 1.
std::optional<SourcePlace> stopping_line(const CompileResult& r)
{
    for (const auto& e : r.errors)
        if (e.place.known() && !tratta::is(e.code, ErrorNumber::chainage_off_grid) &&
            !tratta::is(e.code, ErrorNumber::no_cell_before_warning) &&
            !tratta::is(e.code, ErrorNumber::no_cell_before_slowdown) && !tratta::is(e.code, ErrorNumber::no_cell_in_slowdown))
            return e.place;
    const auto& origins = r.model.cell_origins;
    if (r.outcome == tratta::CompileOutcome::error_box && origins.size() > 1 && origins[1].known())
        return origins[1];
    return std::nullopt;
}

bool stopped_beyond_grid(const CompileResult& r, const SourcePlace& stop)
{
    return std::any_of(r.errors.begin(), r.errors.end(),
                       [&](const tratta::DataError& e) { return tratta::is(e.code, ErrorNumber::beyond_grid) && e.place.line == stop.line && e.place.file == stop.file; });
}

auto identity(const Diagnostic& d)
{
    return std::tuple(d.code, d.place.file, d.place.line, d.place.column, d.at_m.value_or(-1));
}

bool before(const Diagnostic& a, const Diagnostic& b)
{
    return std::tuple(a.place.file, a.place.line, a.place.column) < std::tuple(b.place.file, b.place.line, b.place.column);
}

// The keys whose position the grid check looks at, with the margin it adds.
std::optional<int32_t> grid_margin_of(const tratta::KeySpec* key)
{
    namespace lk = tratta::line_keys;
    namespace tk = tratta::train_keys;
    if (key == &tk::station)
        return tratta::station_margin;
    for (const tratta::KeySpec* k : {&lk::gradient, &lk::curve, &lk::mountain, &lk::speed_indicator, &lk::sign_board,
                                     &tk::speed_limit, &tk::adhesion, &tk::signal, &tk::slowdown, &tk::code_point})
        if (key == k)
            return tratta::grid_margin;
    return std::nullopt;
}

// The warnings found in the fields as one compile read them.
std::vector<Diagnostic> trace_warnings(const CompileResult& compiled)
{
    std::vector<Diagnostic> warnings;
    number_rules(compiled, warnings);
    key_rules(compiled, warnings);
    order_rules(compiled, warnings);
    board_rules(compiled, warnings);
    return warnings;
}

// A source as the next compile reads it: the author's own bytes, until a
// line of it must be left out; then a copy, with those lines blanked. Only
// one copy of a file is ever made, whatever the number of rounds.
class EditedSource {
public:
    explicit EditedSource(std::string_view original) : original_(original) {}

    std::string_view text() const { return copied_ ? std::string_view(copy_) : original_; }

    void leave_out(int32_t line) { pending_.push_back(line); }

    // The lines left out since the last compile blanked, all in one pass.
    std::string& editable()
    {
        if (!copied_) {
            // Room for the route length the probe writes in for the while.
            copy_.reserve(original_.size() + 16);
            copy_.assign(original_);
            copied_ = true;
        }
        if (!pending_.empty()) {
            blank_lines(copy_, std::move(pending_));
            pending_.clear();
        }
        return copy_;
    }

    std::string_view for_compile() { return pending_.empty() ? text() : std::string_view(editable()); }

private:
    std::string_view original_;
    std::string copy_;
    bool copied_ = false;
    std::vector<int32_t> pending_;
};

// Looks for the errors behind each error that stops the reading, by leaving
// that error's line out and reading the files again.
class HiddenErrors {
public:
    HiddenErrors(const CheckInput& in, const CompileResult& first, std::vector<Diagnostic>& errors,
                 std::vector<Diagnostic>& warnings)
        : first_(first), errors_(errors), warnings_(warnings), line_(in.line_source), train_(in.train_source)
    {
        input_ = tratta::compile_input(CompilePurpose::check, SourceText{}, SourceText{}, in.scenario_name,
                                       in.train_name);
    }

    // False when the search stopped at its limit.
    bool run()
    {
        const CompileResult* latest = &first_;
        for (int round = 0;; ++round) {
            const auto stop = stopping_line(*latest);
            // Without a route grid there is nothing to read the rest against;
            // a line left out already that still stops the reading is as far as it goes.
            if (!stop || !latest->model.cells.exists() || left_out_.count({stop->file, stop->line}) != 0)
                break;
            if (round == hidden_error_rounds) {
                name_lines_beyond();
                return false;
            }
            leave_out(stop->file, stop->line);
            if (stopped_beyond_grid(*latest, *stop))
                leave_out_lines_beyond(latest->model.cells);
            // The round before is done with: its fields leave the memory
            // before the next reading makes its own.
            latest = &first_;
            again_.reset();
            again_.emplace(compile_now());
            latest = &*again_;
            take_errors(*again_);
            take_warnings(*again_);
        }
        name_lines_beyond();
        return true;
    }

private:
    CompileResult compile_now()
    {
        input_.line = SourceText::of(line_.for_compile());
        input_.train = SourceText::of(train_.for_compile());
        return tratta::compile(input_);
    }

    void leave_out(SourceFile file, int32_t line)
    {
        left_out_.insert({file, line});
        (file == SourceFile::line ? line_ : train_).leave_out(line);
    }

    // A position beyond the grid ends its file there, so each further line
    // beyond it would take a round of its own. Read once with the longest
    // route the line file allows, the files show every position: the lines
    // beyond the real grid are left out together, and stand under the first.
    void leave_out_lines_beyond(const tratta::RouteCells& grid)
    {
        const TracedField* length = nullptr;
        for (const TracedField& f : first_.trace.fields)
            if (f.key == &tratta::line_keys::route_length && f.role == TracedField::Role::number)
                length = &f;
        if (length == nullptr)
            return;
        // The probe reads the line file's own copy with the length changed
        // for the while, so that no second copy of the file is made.
        constexpr std::string_view longest = "1000000";
        std::string& text = line_.editable();
        const std::string was = replace_field(text, length->place, longest);
        if (was.empty())
            return;
        const CompileResult probe = compile_now();
        for (const TracedField& f : probe.trace.fields) {
            const auto margin = grid_margin_of(f.key);
            if (!margin || f.role != TracedField::Role::number || f.index != 0)
                continue;
            if (tratta::grid_accepts(grid, f.value, *margin) || left_out_.count({f.place.file, f.place.line}) != 0)
                continue;
            leave_out(f.place.file, f.place.line);
            beyond_grid_[f.place.file].push_back(f.place);
        }
        SourcePlace probed = length->place;
        probed.end_column = probed.column + static_cast<int32_t>(longest.size());
        replace_field(text, probed, was);
    }

    void take_errors(const CompileResult& r)
    {
        for (Diagnostic& d : error_diagnostics(r)) {
            const bool seen = std::any_of(errors_.begin(), errors_.end(),
                                          [&](const Diagnostic& e) { return identity(e) == identity(d); });
            // Only the first of the stations or boards beyond the free records counts.
            const bool capacity_again = (d.is(ErrorNumber::too_many_stations) || d.is(ErrorNumber::too_many_boards)) &&
                                        std::any_of(errors_.begin(), errors_.end(),
                                                    [&](const Diagnostic& e) { return e.code == d.code; });
            if (seen || capacity_again)
                continue;
            // One line beyond the grid stands for the others of its file.
            if (d.is(ErrorNumber::beyond_grid) && first_beyond(d.place.file) != nullptr) {
                beyond_grid_[d.place.file].push_back(d.place);
                continue;
            }
            errors_.push_back(std::move(d));
        }
    }

    // The lines behind a stopping error are read only now: their warnings too.
    void take_warnings(const CompileResult& r)
    {
        for (Diagnostic& d : trace_warnings(r)) {
            const bool seen = std::any_of(warnings_.begin(), warnings_.end(), [&](const Diagnostic& w) {
                return identity(w) == identity(d) && w.message == d.message;
            });
            if (!seen)
                warnings_.push_back(std::move(d));
        }
    }

    Diagnostic* first_beyond(SourceFile file)
    {
        for (Diagnostic& e : errors_)
            if (e.is(ErrorNumber::beyond_grid) && e.place.file == file)
                return &e;
        return nullptr;
    }

    void name_lines_beyond()
    {
        for (auto& [file, places] : beyond_grid_) {
            Diagnostic* first = first_beyond(file);
            if (first == nullptr || places.empty())
                continue;
            std::erase_if(places, [&](const SourcePlace& p) { return p.line == first->place.line; });
            // A line found beyond the grid both by the probe and by a later round counts once.
            std::stable_sort(places.begin(), places.end(),
                             [](const SourcePlace& a, const SourcePlace& b) { return a.line < b.line; });
            places.erase(std::unique(places.begin(), places.end(),
                                     [](const SourcePlace& a, const SourcePlace& b) { return a.line == b.line; }),
                         places.end());
            if (places.empty())
                continue;
            first->message += "; anche altre " + std::to_string(places.size()) + " righe più avanti nel file";
            for (std::size_t i = 0; i < places.size() && i < lines_beyond_named; ++i)
                first->related.push_back({places[i], "anche questa posizione è oltre la fine della griglia"});
        }
        beyond_grid_.clear();
    }

    const CompileResult& first_;
    std::vector<Diagnostic>& errors_;
    std::vector<Diagnostic>& warnings_;
    EditedSource line_;
    EditedSource train_;
    CompileInput input_;
    std::optional<CompileResult> again_;
    std::set<std::pair<SourceFile, int32_t>> left_out_;
    std::map<SourceFile, std::vector<SourcePlace>> beyond_grid_;
};

} // namespace

std::size_t CheckReport::errors() const
{
    return static_cast<std::size_t>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                                  [](const Diagnostic& d) { return d.is_error(); }));
}

std::size_t CheckReport::warnings() const { return diagnostics.size() - errors(); }

std::vector<Diagnostic> warnings_of(const CompileResult& compiled, std::string_view line_source,
                                    std::string_view train_source)
{
    std::vector<Diagnostic> warnings = trace_warnings(compiled);
    timetable_rules(compiled, train_source, warnings);
    file_rules({line_source, train_source}, warnings);
    std::stable_sort(warnings.begin(), warnings.end(), before);
    return warnings;
}

CheckReport check_scenario(const CheckInput& in)
{
    return check_compiled(in, tratta::compile(tratta::compile_input(CompilePurpose::check,
                                                                    SourceText::of(in.line_source),
                                                                    SourceText::of(in.train_source),
                                                                    in.scenario_name, in.train_name)));
}

CheckReport check_compiled(const CheckInput& in, const CompileResult& first)
{
    CheckReport report;
    report.diagnostics = error_diagnostics(first);
    std::vector<Diagnostic> warnings = trace_warnings(first);
    report.complete = HiddenErrors(in, first, report.diagnostics, warnings).run();
    timetable_rules(first, in.train_source, warnings);
    file_rules({in.line_source, in.train_source}, warnings);
    std::stable_sort(warnings.begin(), warnings.end(), before);
    report.diagnostics.insert(report.diagnostics.end(), warnings.begin(), warnings.end());
    group_consequences(report.diagnostics);
    return report;
}

} // namespace autore

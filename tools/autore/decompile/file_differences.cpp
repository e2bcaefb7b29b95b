#include "autore/decompile/file_differences.hpp"

#include "autore/route/table_fields.hpp"
#include "model/byte_reader.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

namespace autore {

namespace {

std::string_view bytes_text(const tratta::Bytes& b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }

std::string pair_words(int64_t given, int64_t made)
{
    return std::to_string(given) + " nel file dato, " + std::to_string(made) + " dai sorgenti";
}

void record_differences(std::string_view given, std::string_view made, std::vector<std::string>& out)
{
    const auto a = tratta::decode_scenario_records(given);
    const auto b = tratta::decode_scenario_records(made);
    for (int r = 0; r < tratta::ScenarioRecords::count; ++r) {
        const auto fa = record_fields(a[r]);
        const auto fb = record_fields(b[r]);
        for (std::size_t f = 0; f < fa.size() && f < fb.size(); ++f)
            if (fa[f].value != fb[f].value)
                out.push_back("file .sim, record " + std::to_string(r) + ", campo " + std::string(fa[f].name) + ": " +
                              pair_words(fa[f].value, fb[f].value));
        if (a[r].text != b[r].text)
            out.push_back("file .sim, record " + std::to_string(r) + ", campo text: «" + tratta::cp1252_to_utf8(a[r].text) +
                          "» nel file dato, «" + tratta::cp1252_to_utf8(b[r].text) + "» dai sorgenti");
    }
}

void cell_differences(std::string_view given, std::string_view made, std::vector<std::string>& out)
{
    const auto a = tratta::decode_route_cells(given);
    const auto b = tratta::decode_route_cells(made);
    if (a.size() != b.size()) {
        out.push_back("file .dat: " + std::to_string(a.size()) + " celle nel file dato, " + std::to_string(b.size()) +
                      " dai sorgenti");
        return;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const auto fa = cell_fields(a[i]);
        const auto fb = cell_fields(b[i]);
        for (std::size_t f = 0; f < fa.size() && f < fb.size(); ++f)
            if (fa[f].value != fb[f].value)
                out.push_back("file .dat, cella " + std::to_string(i) + " (" + std::to_string(i * 50) + " m), campo " +
                              std::string(fa[f].name) + ": " + pair_words(fa[f].value, fb[f].value));
    }
}

// The plan differs in runs of metres: each run once, with how far apart the
// two plans lie in it.
void plan_differences(std::string_view given, std::string_view made, std::vector<std::string>& out)
{
    const auto a = tratta::decode_line_profile(given);
    const auto b = tratta::decode_line_profile(made);
    if (a.last_m() != b.last_m()) {
        out.push_back("file _linea.dat: la pianta va fino al metro " + std::to_string(a.last_m()) +
                      " nel file dato, fino al " + std::to_string(b.last_m()) + " dai sorgenti");
        return;
    }
    int64_t from = -1;
    double widest = 0;
    const auto close_run = [&](int64_t to) {
        char gap[32];
        std::snprintf(gap, sizeof gap, "%.3f", widest);
        out.push_back("file _linea.dat, metri da " + std::to_string(from) + " a " + std::to_string(to) +
                      ": la pianta differisce, fino a " + gap + " m");
        from = -1;
        widest = 0;
    };
    for (int64_t m = 0; m <= a.last_m(); ++m) {
        bool same = true;
        for (int r = 0; r < 2; ++r)
            same = same && a.tag(m, r) == b.tag(m, r) &&
                   std::bit_cast<uint64_t>(a.get(m, r)) == std::bit_cast<uint64_t>(b.get(m, r));
        if (!same) {
            if (from < 0)
                from = m;
            widest = std::max(widest, std::hypot(a.get(m, 0) - b.get(m, 0), a.get(m, 1) - b.get(m, 1)));
        } else if (from >= 0) {
            close_run(m - 1);
        }
    }
    if (from >= 0)
        close_run(a.last_m());
}

} // namespace

std::vector<std::string> file_differences(const GivenFiles& given, const tratta::CompiledFiles& made)
{
    std::vector<std::string> out;
    if (given.records != bytes_text(made.records))
        record_differences(given.records, bytes_text(made.records), out);
    if (given.grid != bytes_text(made.grid))
        cell_differences(given.grid, bytes_text(made.grid), out);
    if (!given.line_table.empty() && given.line_table != bytes_text(made.line_table))
        plan_differences(given.line_table, bytes_text(made.line_table), out);
    return out;
}

} // namespace autore

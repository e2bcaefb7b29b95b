#include "model/check_codes.hpp"

#include "model/error_box.hpp"
#include "model/run_state.hpp"
#include "model/code_page.hpp"

#include <string_view>

namespace tratta {

namespace {

constexpr std::string_view filler = "mhqwzkrtpvlbnxcsgdjfyoeuai";
constexpr std::size_t counted = 25;

void build_check_string(RunState& s)
{
    s.work_text = lower_cp1252(s.records[ScenarioRecords::run_header].text +
                               s.records[ScenarioRecords::scenario_header].text);
    s.work_text += filler;
}

int code_at(const std::string& text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

} // namespace

int16_t codice_gara_og(RunState& s)
{
    build_check_string(s);
    int sum = 0;
    for (std::size_t i = 0; i < counted; ++i)
        sum += code_at(s.work_text, i);
    return static_cast<int16_t>(sum);
}

int32_t codice_gara_st(RunState& s)
{
    build_check_string(s);
    int32_t sum = 0;
    for (std::size_t i = 0; i < counted; ++i)
        sum += static_cast<int32_t>(i + 1) * code_at(s.work_text, i);
    return sum;
}

void timbra(RunState& s)
{
    ScenarioRecord& header = s.records[ScenarioRecords::scenario_header];
    RouteCell& stamp_cell = s.cells.at(1);
    if (header.int_a != 0 || stamp_cell.value != 0)
        errore(ErrorNumber::stamp_taken);
    header.int_a = stamp_records;
    stamp_cell.value = stamp_grid;
    if (header.time_s != 0 || stamp_cell.value2 != 0)
        errore(ErrorNumber::check_code_taken);
    header.time_s = codice_gara_st(s);
    stamp_cell.value2 = codice_gara_og(s);
}

} // namespace tratta

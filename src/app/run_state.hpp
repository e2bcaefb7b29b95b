#pragma once
// The run state: the two names that identify the scenario, the compile step's
// parameter, the error record and the three tables of the compiled model.
// One instance lives for the whole run and every routine reaches it by reference.

#include "model/line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tratta {

// Which source file a key was read from, so that an error can name it.
enum class SourceFile : uint8_t { none, line, train };

// Where the key being acted upon stands in its source file.
struct SourcePlace {
    SourceFile file = SourceFile::none;
    int32_t line = 0; // 1-based; 0 when unknown

    bool operator==(const SourcePlace&) const = default;
};

// One data error as it was recorded: number, chainage and source line.
struct RecordedError {
    int32_t code = 0;
    int32_t at_m = 0;
    SourcePlace place;
};

struct RunState {
    std::string scenario_name;
    std::string train_name;
    std::filesystem::path folder; // the program folder: every file lives here
    int32_t j = 0;

    int32_t error_code = 0;  // last data error found; 0 = none
    int32_t error_at_m = 0;  // chainage in metres that goes with error_code
    SourcePlace error_place; // source line of the key that raised error_code
    SourcePlace key_place;   // source line of the key being read now
    // Errors of this compile step that a later one replaced, in order: the run
    // keeps only the last, an author wants to see them all.
    std::vector<RecordedError> replaced_errors;

    std::string work_text;

    ScenarioRecords records;
    RouteCells cells;
    LineProfile profile;
};

// Keeps the error recorded so far, if any, before a new one takes its place.
inline void keep_replaced_error(RunState& s)
{
    if (s.error_code != 0)
        s.replaced_errors.push_back({s.error_code, s.error_at_m, s.error_place});
}

// Records a data error raised by the key being read now. The same key
// recording its own error again (to add the chainage) replaces nothing.
inline void segnala(RunState& s, int32_t code)
{
    if (s.error_code != code || !(s.error_place == s.key_place))
        keep_replaced_error(s);
    s.error_code = code;
    s.error_place = s.key_place;
}

inline void segnala(RunState& s, int32_t code, int32_t at_m)
{
    segnala(s, code);
    s.error_at_m = at_m;
}

} // namespace tratta

#pragma once
// The run state: the two names that identify the scenario, the compile step's
// parameter, the two source texts, the error record and the three tables of
// the compiled model. One instance lives for a whole compile and every routine
// reaches it by reference.

#include "model/error_meanings.hpp"
#include "model/line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"
#include "model/source_places.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tratta {

struct FieldTrace;

// One source file as the compile is handed it: its bytes, or that there is no
// such file, or that it exists but cannot be read (and why).
struct SourceText {
    enum class State : uint8_t { missing, unreadable, present };
    State state = State::missing;
    std::string_view bytes; // present: the whole file; the caller keeps it alive
    std::string cause;      // unreadable: why

    static SourceText of(std::string_view bytes) { return {State::present, bytes, {}}; }
    bool exists() const { return state != State::missing; }
};

// The two source files and whether the reader has done with them: a source
// the reader deletes is marked here, and the program deletes it from its folder.
struct Sources {
    SourceText line;
    SourceText train;
    bool line_deleted = false;
    bool train_deleted = false;
};

struct RunState {
    std::string scenario_name; // Windows-1252 bytes
    std::string train_name;
    int32_t j = 0;
    bool keep_line_table = true; // false: the plan is walked but its points not kept

    Sources sources;

    bool profiles_completed = false; // the train file was read to its end: speed and adhesion run to the grid's end

    int32_t error_code = 0; // last data error found; 0 = none
    int32_t error_at_m = 0; // chainage in metres that goes with error_code
    std::vector<DataError> errors; // every data error of this compile, in order
    SourcePlace key_place;  // where the key being read now stands

    std::string work_text;

    ScenarioRecords records;
    RouteCells cells;
    LineProfile profile;

    // Where each object now in the grid, and each record, came from: the key
    // of the source line that placed it (a code point of the finishing pass
    // comes from the slowdown it was placed for; none where nothing placed
    // anything). For an author's diagnostics; the simulator's files do not
    // hold it. The cells' origins are kept only when asked for.
    bool note_origins = false;
    std::vector<SourcePlace> cell_origins;
    // Every field the readers read, when asked for (none: not kept).
    FieldTrace* trace = nullptr;
    std::array<SourcePlace, ScenarioRecords::count> record_origins{}; // same as RecordOrigins

    // The last error recorded, as an author reads it; none when clean.
    std::optional<DataError> last_error() const;
};

// Records a data error: error_code := code, error_at_m := at_m when one is
// given (else it keeps its value), and the error joins the list with its place
// and cause. The one way every reader and the finishing pass record an error.
void segnala(RunState& state, ErrorNumber code, std::optional<int32_t> at_m, const SourcePlace& place,
             std::string cause = {}, int64_t cell = -1);

// An error raised by the key being read now, at that key's place.
inline void segnala(RunState& state, ErrorNumber code) { segnala(state, code, std::nullopt, state.key_place); }
inline void segnala(RunState& state, ErrorNumber code, int32_t at_m)
{
    segnala(state, code, at_m, state.key_place);
}

// An object of the key being read now that finds its cell taken.
inline void segnala_cella(RunState& state, ErrorNumber code, int32_t at_m, int64_t cell)
{
    segnala(state, code, at_m, state.key_place, {}, cell);
}

// The reader has done with a source file: it is deleted once the compile is over.
void drop_source(RunState& state, SourceFile file);

// Notes that the key being read now placed the object in this cell.
void note_cell_origin(RunState& state, int64_t cell);

} // namespace tratta

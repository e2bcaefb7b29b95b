#pragma once
// A train file read on its own: a run state with a route grid of a given
// length in a temporary folder, the train file written there by the test, and
// the train half of the reader with the reader's failure path around it.

#include "app/file_names.hpp"
#include "app/run_state.hpp"
#include "source/source_reader.hpp"
#include "source/train/leggi_treno.hpp"
#include "support/row_name.hpp"
#include "support/temp_folder.hpp"

#include <string>
#include <vector>

namespace tratta::testing {

class TrainRun {
public:
    // 10000 m of route: cells 0 to 340.
    explicit TrainRun(int32_t length_m = 10000)
    {
        state.scenario_name = "Prova";
        state.train_name = "TR 1";
        state.folder = folder.path();
        state.cells.create(length_m);
    }

    std::filesystem::path train_file() const { return file_names(state).train_source; }

    void write(const std::string& bytes) const { write_bytes(train_file(), bytes); }

    // Reads whatever train file is in the folder, as the source reader does.
    void read()
    {
        try {
            leggi_treno(state, handoff);
        } catch (const ReadFailure&) {
            fallimento_lettura(state);
        }
    }

    // A train file of "[generale]", the given lines and "[fine]", then read.
    void read_lines(const std::vector<std::string>& lines)
    {
        std::vector<std::string> all{"[generale]"};
        all.insert(all.end(), lines.begin(), lines.end());
        all.emplace_back("[fine]");
        write(crlf_lines(all));
        read();
    }

    RouteCell& cell(int64_t index) { return state.cells.at(index); }
    ScenarioRecord& record(int index) { return state.records[index]; }

    // Marks the speed and adhesion of every cell, so that a test sees which
    // cells a profile wrote.
    void mark_profiles(uint8_t mark)
    {
        for (int64_t i = 0; i <= state.cells.last(); ++i) {
            cell(i).speed5 = mark;
            cell(i).adhesion = mark;
        }
    }

    TempFolder folder;
    RunState state;
    ReaderHandoff handoff;
};

} // namespace tratta::testing

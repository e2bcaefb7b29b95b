#pragma once
// A train file read on its own: a run state with a route grid of a given
// length, the train file's bytes given by the test, and the train half of the
// reader with the reader's failure path around it.

#include "model/run_state.hpp"
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
        state.cells.create(length_m);
        state.cell_origins.assign(state.cells.cells().size(), SourcePlace{});
    }

    // The train file's bytes, as the folder would hold them.
    void write(const std::string& bytes)
    {
        train_bytes = bytes;
        state.sources.train = SourceText::of(train_bytes);
    }
    // Whether the reader left the train file in the folder.
    bool train_file_left() const { return state.sources.train.exists() && !state.sources.train_deleted; }

    // Reads whatever train file was given, as the source reader does.
    void read()
    {
        try {
            leggi_treno(state, handoff);
        } catch (const ReadFailure& failure) {
            fallimento_lettura(state, failure);
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

    // Where the last error recorded stands; nowhere when there is none.
    SourcePlace error_place() const { return state.errors.empty() ? SourcePlace{} : state.errors.back().place; }

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

    std::string train_bytes;
    RunState state;
    ReaderHandoff handoff;
};

} // namespace tratta::testing

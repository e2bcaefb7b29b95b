#include "source/train/leggi_treno.hpp"

#include "source/keys.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

#include <string>
#include <string_view>

namespace tratta {

namespace {

LineEnd read_braked_mass(TrainRead& r)
{
    r.in.expect(train_keys::braked_mass);
    r.state.records[ScenarioRecords::train_header].start_m = r.in.read_i32();
    return LineEnd::next_key;
}

LineEnd read_cars(TrainRead& r)
{
    r.in.expect(train_keys::cars);
    r.state.records[ScenarioRecords::train_header].at_m = r.in.read_i32();
    return LineEnd::next_key;
}

// The start clock: hours, minutes and seconds, often set apart by blanks alone.
LineEnd read_clock(TrainRead& r)
{
    r.in.expect(train_keys::clock);
    ScenarioRecord& rec = r.state.records[ScenarioRecords::run_header];
    rec.int_c = r.in.read_i16();
    rec.int_d = r.in.read_i16();
    rec.int_e = r.in.read_i16();
    return LineEnd::next_key;
}

LineEnd read_sand(TrainRead& r)
{
    r.in.expect(train_keys::sand);
    r.state.records[ScenarioRecords::run_header].int_a = r.in.read_i16();
    return LineEnd::next_key;
}

// The key words of the train file, in the order in which every key is tested
// (ignoring case). A key holding two words runs both readings, in this order.
struct KeyTest {
    std::string_view word;
    std::string_view also; // a second word the key must hold too, or empty
    LineEnd (*read)(TrainRead&);
};

constexpr KeyTest key_tests[] = {
    {"frenata", "massa", read_braked_mass},
    {"vetture", "", read_cars},
    {"velocit", "", read_speed_line},
    {"aderenza", "", read_adhesion_line},
    {"orologio", "", read_clock},
    {"sabbia", "", read_sand},
    {"segnale", "", read_signal_line},
    {"rallentamento", "", read_slowdown_line},
    {"abbattimento", "", read_code_point_line},
    {"stazione", "", read_station_line},
};

LineEnd test_key(TrainRead& r)
{
    const std::string key = r.state.work_text;
    for (const KeyTest& test : key_tests) {
        if (!contains_nocase(key, test.word) || (!test.also.empty() && !contains_nocase(key, test.also)))
            continue;
        const LineEnd end = test.read(r);
        if (end != LineEnd::next_key)
            return end;
    }
    return LineEnd::next_key;
}

// Everything up to and including the first field holding "[generale]" is
// passed over. An empty file fails here: a field is read before the end of the
// file is looked at.
void skip_to_general(RunState& s, FieldReader& in)
{
    do {
        read_key(s, in);
    } while (!contains_nocase(s.work_text, "[generale]") && !in.at_end());
}

// The kilometre chainages of the line file must start and shift on the 50 m
// grid. The error belongs to no line of the train file.
void check_chainages(RunState& s)
{
    for (int index : {ScenarioRecords::chainage_last, ScenarioRecords::chainage_middle,
                      ScenarioRecords::chainage_first}) {
        const ScenarioRecord& rec = s.records[index];
        if ((rec.start_m % 50 != 0 || rec.end_m % 50 != 0) && !is(s.error_code, ErrorNumber::chainage_off_grid))
            segnala(s, ErrorNumber::chainage_off_grid, std::nullopt, s.record_origins[static_cast<std::size_t>(index)]);
    }
}

} // namespace

LineEnd after_placing(RunState& s, bool placed, int32_t position_m)
{
    if (!placed)
        return LineEnd::error_exit;
    if (s.error_code <= 0)
        return LineEnd::next_key;
    segnala(s, static_cast<ErrorNumber>(s.error_code), position_m, s.key_place,
            "la lettura del file del treno si ferma qui, al primo segnale o rallentamento dopo l'errore " +
                std::to_string(s.error_code) + " del file della linea");
    return LineEnd::error_exit;
}

void leggi_treno(RunState& state, ReaderHandoff& handoff)
{
    state.key_place = {SourceFile::train, 0, 0, 0};
    if (!state.cells.exists())
        throw ReadFailure("nessuna griglia del percorso per il file del treno", state.key_place);
    FieldReader in = open_source(state, SourceFile::train);
    TrainRead r{state, in, handoff.board_slot};

    skip_to_general(state, in);
    in.enter(TracePart::body);
    LineEnd end = LineEnd::next_key;
    while (end == LineEnd::next_key && next_key(state, in))
        end = test_key(r);

    drop_source(state, SourceFile::train);
    if (end == LineEnd::error_exit)
        return;
    complete_profiles(r);
    state.profiles_completed = true;
    check_chainages(state);
}

} // namespace tratta

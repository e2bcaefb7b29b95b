#include "source/line/leggi_linea.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "source/keys.hpp"
#include "source/line/general_section.hpp"
#include "source/line/line_body.hpp"
#include "source/line/progressive_ordina.hpp"

namespace tratta {

namespace {

// Skips fields up to the general section's header; false when the end of the
// file comes first (the field that meets the end is not looked at).
bool find_general_header(RunState& s, FieldReader& in)
{
    while (read_key_before_end(s, in, SourceFile::line)) {
        if (contains_nocase(s.work_text, "[generale]"))
            return true;
    }
    return false;
}

} // namespace

bool leggi_linea(RunState& s, ReaderHandoff& handoff)
{
    s.records[ScenarioRecords::scenario_header].text = s.scenario_name;
    s.records[ScenarioRecords::run_header].text = s.train_name;
    s.key_place = {SourceFile::line, 0};

    const auto file = file_names(s).line_source;
    if (!file_exists(file)) {
        segnala(s, 101);
        return false;
    }
    FieldReader in = open_source(file);
    if (!find_general_header(s, in)) {
        delete_file(file);
        segnala(s, 102);
        return false;
    }
    switch (read_general_section(s, in)) {
    case GeneralSection::read: break;
    case GeneralSection::refused: delete_file(file); return false;
    case GeneralSection::no_length:
        // Nothing of the body can be placed without a grid.
        throw ReadFailure("nessuna lunghezza del percorso nella sezione generale");
    }
    progressive_ordina(s.records);

    LineBody body = start_line_body(s);
    const BodyEnd end = read_line_body(s, in, body);
    delete_file(file);
    if (end == BodyEnd::refused)
        return false;
    finish_line_body(s, body);
    handoff.board_slot = body.board_slot;
    return true;
}

} // namespace tratta

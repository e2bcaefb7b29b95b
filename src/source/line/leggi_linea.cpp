#include "source/line/leggi_linea.hpp"

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
    while (read_key_before_end(s, in)) {
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
    s.key_place = {SourceFile::line, 0, 0, 0};

    if (!s.sources.line.exists()) {
        segnala(s, ErrorNumber::line_file_missing);
        return false;
    }
    FieldReader in = open_source(s, SourceFile::line);
    if (!find_general_header(s, in)) {
        drop_source(s, SourceFile::line);
        segnala(s, ErrorNumber::general_section_missing);
        return false;
    }
    in.enter(TracePart::general);
    switch (read_general_section(s, in)) {
    case GeneralSection::read: break;
    case GeneralSection::refused: drop_source(s, SourceFile::line); return false;
    case GeneralSection::no_length:
        // Nothing of the body can be placed without a grid.
        throw ReadFailure("la sezione generale finisce senza la «lunghezza percorso»", s.key_place);
    }
    progressive_ordina(s.records, s.record_origins);

    in.enter(TracePart::body);
    LineBody body = start_line_body(s);
    const BodyEnd end = read_line_body(s, in, body);
    drop_source(s, SourceFile::line);
    if (end == BodyEnd::refused)
        return false;
    finish_line_body(s, body);
    handoff.board_slot = body.board_slot;
    return true;
}

} // namespace tratta

#include "source/source_reader.hpp"

#include "source/keys.hpp"

namespace tratta {

FieldReader open_source(const RunState& s, SourceFile file)
{
    const SourceText& text = file == SourceFile::line ? s.sources.line : s.sources.train;
    const SourcePlace nowhere{file, 0, 0, 0};
    switch (text.state) {
    case SourceText::State::missing: throw ReadFailure("il file non esiste", nowhere);
    case SourceText::State::unreadable: throw ReadFailure("il file non si può leggere: " + text.cause, nowhere);
    case SourceText::State::present: break;
    }
    FieldReader in(text.bytes, file);
    in.trace_into(s.trace);
    return in;
}

void read_key(RunState& s, FieldReader& in)
{
    s.work_text = in.read_key();
    s.key_place = in.field_place();
}

bool read_key_before_end(RunState& s, FieldReader& in)
{
    if (in.at_end())
        return false;
    read_key(s, in);
    return !in.at_end();
}

bool next_key(RunState& s, FieldReader& in)
{
    constexpr int comment_limit = 2;
    if (!read_key_before_end(s, in))
        return false;
    for (int n = 0; n < comment_limit && is_comment(s.work_text); ++n) {
        read_key(s, in);
        if (in.at_end())
            return false;
    }
    return true;
}

void fallimento_lettura(RunState& s, const ReadFailure& failure)
{
    drop_source(s, SourceFile::line);
    drop_source(s, SourceFile::train);
    segnala(s, ErrorNumber::read_failure, std::nullopt, failure.place(), failure.what());
}

} // namespace tratta

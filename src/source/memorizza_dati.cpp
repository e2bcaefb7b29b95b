#include "source/memorizza_dati.hpp"

#include "model/run_state.hpp"
#include "source/line/leggi_linea.hpp"
#include "source/source_reader.hpp"
#include "source/train/leggi_treno.hpp"

namespace tratta {

void memorizza_dati(RunState& state, const std::function<void()>& line_read)
{
    ReaderHandoff handoff;
    try {
        if (leggi_linea(state, handoff)) {
            if (line_read)
                line_read();
            leggi_treno(state, handoff);
        }
    } catch (const ReadFailure& failure) {
        fallimento_lettura(state, failure);
    }
}

} // namespace tratta

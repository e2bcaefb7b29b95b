#include "source/train/leggi_treno.hpp"

namespace tratta {

void leggi_treno(RunState& state, ReaderHandoff& handoff)
{
    (void)state;
    (void)handoff; // the train half is laid here
}

} // namespace tratta

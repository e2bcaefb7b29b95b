#include "app/scenario_texts.hpp"

#include "app/avvio.hpp"
#include "scenario/text_writer.hpp"

namespace tratta {

ScenarioTexts embedded_texts()
{
    return {scenario_constant,
            train_constant,
            encode_data_set(linea_data()),
            encode_data_set(treno_data()),
            encode_data_set(note_data()),
            encode_data_set(rallentamenti_data()),
            encode_data_set(scheda_data())};
}

} // namespace tratta

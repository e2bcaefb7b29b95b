// The train file of the embedded scenario (placeholder until the full run is laid).
#include "scenario/data_set.hpp"

namespace tratta {

namespace {
constexpr std::string_view lines[] = {
    "[generale]",
    "numero vetture,    16",
    "percentuale massa frenata,    125",
    "sabbia,    200",
    "orologio,    19              35            20 ",
    "[aderenze]",
    "aderenza,  0,  80",
    "[vel_limite]",
    "velocita,  0,  30",
    "velocità,  1000,  95",
    "[fine]",
    end_marker,
};
} // namespace

DataSet treno_data() { return lines; }

} // namespace tratta

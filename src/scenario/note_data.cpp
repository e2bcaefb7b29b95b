// The notes for the driver of the embedded scenario (placeholder until the document is drawn).
#include "scenario/data_set.hpp"

namespace tratta {

namespace {
constexpr std::string_view lines[] = {
    "",
    "Tratta_Esempio",
    end_marker,
};
} // namespace

DataSet note_data() { return lines; }

} // namespace tratta

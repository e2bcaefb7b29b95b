#pragma once
// One scenario as a program carries it: the two names and the five texts it
// writes beside itself, as Windows-1252 bytes with CR LF line ends. The
// embedded scenario is one; a packed program carries another.

#include <string>

namespace tratta {

struct ScenarioTexts {
    std::string scenario_name;
    std::string train_name;
    std::string line;      // the line file
    std::string train;     // the train file
    std::string notes;     // the driver's notes
    std::string slowdowns; // the slowdown order
    std::string timetable; // the timetable sheet

    bool operator==(const ScenarioTexts&) const = default;
};

// The embedded scenario: Tratta_Esempio, TR 000 Esempio and its five data sets.
ScenarioTexts embedded_texts();

} // namespace tratta

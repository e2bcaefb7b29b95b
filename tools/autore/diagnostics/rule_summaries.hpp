#pragma once
// What each diagnostic code stands for, in one line: the error number's
// meaning, or what a warning rule looks for.

#include <span>
#include <string_view>

namespace autore {

struct RuleSummary {
    std::string_view code;
    std::string_view summary;
};

// The rules of the check named rather than numbered: the warnings, the
// timetable's findings and the refusals that have no number of the program.
std::span<const RuleSummary> warning_rules();

// The summary of an error number or a rule; "" when unknown.
std::string_view rule_summary(std::string_view code);

} // namespace autore

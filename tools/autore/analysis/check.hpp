#pragma once
// The author's check of a scenario: every data error the compile records, in
// order, then those that the lines after the first error hide (found by
// compiling again without each line that stopped the reading), and beside
// them the warnings. The compile itself and its files do not change.

#include "autore/diagnostics/diagnostic.hpp"
#include "compile/compile.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace autore {

struct CheckInput {
    std::string_view line_source;  // the line file's bytes
    std::string_view train_source; // the train file's bytes
    std::string scenario_name;     // Windows-1252 bytes
    std::string train_name;
};

struct CheckReport {
    std::vector<Diagnostic> diagnostics; // errors first, in the order found, then warnings by place
    bool complete = true; // false: the search for hidden errors stopped at its limit

    std::size_t errors() const;
    std::size_t warnings() const;
};

CheckReport check_scenario(const CheckInput& input);

// The same from a first compile of these sources already made with its
// origins noted and its fields traced (the one `compile` writes its files from).
CheckReport check_compiled(const CheckInput& input, const tratta::CompileResult& first);

// The diagnostics of one compile's data errors, each at its place with the
// object that holds a taken cell beside it; shared by check and compile.
std::vector<Diagnostic> error_diagnostics(const tratta::CompileResult& compiled);

// The warnings about one compile (made with its fields traced), by place.
std::vector<Diagnostic> warnings_of(const tratta::CompileResult& compiled, std::string_view line_source,
                                    std::string_view train_source);

} // namespace autore

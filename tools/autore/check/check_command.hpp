#pragma once
// `autore check`: the diagnostics of an author's scenario, nothing written.

#include "autore/scenario_files/compile_sources.hpp"

#include <iosfwd>
#include <string>

namespace autore {

enum class CheckFormat { text, json, sarif };

struct CheckOptions {
    CheckFormat format = CheckFormat::text;
    bool strict = false; // warnings count as errors for the exit status
};

// Exit status: 0 no error (warnings alone too, unless strict), 2 errors (or
// warnings when strict), 1 the check could not run.
int check_files(const CompileRequest& files, const CheckOptions& options, std::ostream& out, std::ostream& err);

} // namespace autore

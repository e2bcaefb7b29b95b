#pragma once
// `autore serve`: the route page of an author's two files, in the author's
// browser, drawn again each time one of them is saved.

#include "autore/scenario_files/compile_sources.hpp"

#include <ostream>

namespace autore::serve {

struct ServeRequest {
    CompileRequest files;
    int port = 0;             // 0: one the system chooses
    bool open_browser = true; // false: only the address is printed
};

// Prints the address as the first line on `out`, then serves until Ctrl-C
// (or the console is closed). Writes nothing. Exit status 0 when stopped, 1
// when it could not start (a file that cannot be read, nothing to draw, a
// port that is taken).
int serve_files(const ServeRequest& request, std::ostream& out, std::ostream& err);

} // namespace autore::serve

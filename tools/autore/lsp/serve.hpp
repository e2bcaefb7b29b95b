#pragma once
// `autore lsp`: the language server over standard input and output.

#include <iosfwd>

namespace autore::lsp {

// Serves one editor on the given file descriptors until it says "exit" or
// closes its end; returns the exit status: 0 after "shutdown" and "exit", 1
// otherwise. Lines about bytes passed over go to `log`, never to `out_fd`.
int serve(int in_fd, int out_fd, std::ostream& log);

} // namespace autore::lsp

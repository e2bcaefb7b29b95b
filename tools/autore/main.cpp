// autore: the scenario author's companion to the program.
#include "app/files.hpp"
#include "app/standard_output.hpp"
#include "app/stop_signals.hpp"
#include "autore/cli.hpp"

#include <iostream>

namespace {

// A size limit becomes a file that cannot be written, a closed standard
// output a failure of one line, a stop from outside
// takes the tool's temporary files with it, and what was said on standard
// output must have arrived there.
int run(int argc, const char* const* argv)
{
    tratta::ignore_file_size_signal();
    tratta::ignore_broken_pipe_signal();
    tratta::install_cleanup_on_signals();
    const int status = autore::run_autore(argc, argv, std::cout, std::cerr);
    try {
        tratta::flush_standard_output(std::cout);
    } catch (const tratta::FileFailure& failure) {
        // A command that failed has said why already (dump names the lost output itself).
        if (status != 1)
            std::cerr << "autore: " << failure.what() << '\n';
        return status == 0 ? 1 : status;
    }
    return status;
}

} // namespace

#ifdef _WIN32
#include "autore/command_line/windows_arguments.hpp"

// Windows hands the arguments over as wide characters: they become UTF-8, as
// the tool takes every name and path, and the console shows UTF-8.
int wmain(int argc, wchar_t** argv)
{
    autore::use_utf8_console();
    const autore::Utf8Arguments args(argc, argv);
    return run(args.count(), args.values());
}
#else
int main(int argc, char** argv) { return run(argc, argv); }
#endif

// autore: the scenario author's companion to the program.
#include "app/files.hpp"
#include "app/standard_output.hpp"
#include "app/stop_signals.hpp"
#include "autore/cli.hpp"

#include <iostream>

int main(int argc, char** argv)
{
    tratta::ignore_file_size_signal();
    tratta::install_cleanup_on_signals();
    const int status = autore::run_autore(argc, argv, std::cout, std::cerr);
    // What was said on standard output must have arrived there.
    try {
        tratta::flush_standard_output(std::cout);
    } catch (const tratta::FileFailure& failure) {
        std::cerr << "autore: " << failure.what() << '\n';
        return status == 0 ? 1 : status;
    }
    return status;
}

// autore: the scenario author's companion to the program.
#include "autore/cli.hpp"

#include <iostream>

#ifdef _WIN32
#include "autore/command_line/windows_arguments.hpp"

// Windows hands the arguments over as wide characters: they become UTF-8, as
// the tool takes every name and path, and the console shows UTF-8.
int wmain(int argc, wchar_t** argv)
{
    autore::use_utf8_console();
    const autore::Utf8Arguments args(argc, argv);
    return autore::run_autore(args.count(), args.values(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) { return autore::run_autore(argc, argv, std::cout, std::cerr); }
#endif

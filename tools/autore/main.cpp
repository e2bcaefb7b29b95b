// autore: the scenario author's companion to the program.
#include "autore/cli.hpp"

#include <iostream>

int main(int argc, char** argv) { return autore::run_autore(argc, argv, std::cout, std::cerr); }

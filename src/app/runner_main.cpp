// The runner: a program that carries a scenario appended to its own file and
// runs it as the embedded program runs its own.
#include "app/avvio.hpp"

#ifdef _WIN32
#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tratta::avvio_pacchetto(); }
#else
int main() { return tratta::avvio_pacchetto(); }
#endif

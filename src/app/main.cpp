// The program: one start, one complete run of the embedded scenario.
#include "app/avvio.hpp"

#ifdef _WIN32
#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tratta::avvio(); }
#else
int main() { return tratta::avvio(); }
#endif

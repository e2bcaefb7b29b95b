// The program: one start, one complete run of the embedded scenario.
#include "app/avvio.hpp"
#include "app/stop_signals.hpp"

namespace {

// A size limit becomes a file that cannot be written, and a stop from outside
// takes the run's temporary files with it.
int start()
{
    tratta::ignore_file_size_signal();
    tratta::install_cleanup_on_signals();
    return tratta::avvio();
}

} // namespace

#ifdef _WIN32
#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return start(); }
#else
int main() { return start(); }
#endif

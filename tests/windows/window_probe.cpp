// Shows the wait window and then the error box exactly as a run that stops on
// error 1250 does: the box stands over the wait window until OK is pressed,
// then the window closes and the program ends with status 3, so that the test
// script can tell an ended probe from one that was killed.
#include "model/error_box.hpp"
#include "app/platform.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    tratta::platform::show_wait_window();
    try {
        tratta::errore(tratta::ErrorNumber::stamp_taken);
    } catch (const tratta::ErrorBox& box) {
        tratta::platform::error_box(box.box_text());
    }
    tratta::platform::close_wait_window();
    return 3;
}

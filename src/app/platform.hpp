#pragma once
// What the program needs of the machine it runs on: the wait window, the
// error box, messages for failures, the folder that holds the program, and
// the user's browser.
// Windows has the real window and message box; elsewhere a console stands in.

#include <filesystem>
#include <string>

namespace tratta::platform {

// Shows the wait window ("Attendere") without owner and paints it once.
void show_wait_window();
void close_wait_window();

// Messages are UTF-8 text.
// The error box: the text (" Errore n. " and the number) with an OK button;
// returns once the user has pressed OK. On a console it is one line on stderr.
void error_box(const std::string& text);

// A failure outside the numbered errors, or a recorded data error: one message
// naming the file or the cause (a message box on Windows, stderr elsewhere).
void report(const std::string& message);

// The folder of the program's own file, never the current directory.
std::filesystem::path program_folder();
// The program's own file.
std::filesystem::path program_file();

// Opens an address (UTF-8, "http://127.0.0.1:8080/") in the user's default
// browser and returns at once; false when no browser could be started.
bool open_in_browser(const std::string& address);

} // namespace tratta::platform

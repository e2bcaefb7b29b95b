// The Win32 wait window and message box. Every text given to the layer is
// UTF-8; every call to the system uses the wide-character API, so that folders
// with blanks and letters outside ASCII work.
#include "app/platform.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tratta::platform {

namespace {

// The wait window as the form was drawn, in pixels at 96 dpi (15 twips per
// pixel): a client area of 4200 x 2688 twips with the label at 960, 960 twips,
// 2652 x 792 twips.
constexpr int client_width = 280;
constexpr int client_height = 179;
constexpr int label_left = 64;
constexpr int label_top = 64;
constexpr int label_width = 177;
constexpr int label_height = 53;
constexpr int label_points = 24;

HWND wait_window = nullptr;
HFONT label_font = nullptr;

std::wstring widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0)
        return L"?";
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

// The full name of the program's own file, however long.
std::filesystem::path module_file()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            throw std::runtime_error("cartella del programma non trovata");
        if (n < buf.size())
            return std::filesystem::path(std::wstring(buf.data(), n));
        buf.resize(buf.size() * 2);
    }
}

// The application's own title: the program's file name without extension.
std::wstring application_title()
{
    try {
        return module_file().stem().wstring();
    } catch (const std::exception&) {
        return L"";
    }
}

// A box with the text, an OK button and no icon, under the application's
// title; returns once OK is pressed.
void message_box(const std::string& text)
{
    MessageBoxW(nullptr, widen(text).c_str(), application_title().c_str(), MB_OK | MB_SETFOREGROUND);
}

HFONT create_label_font(HWND window)
{
    HDC dc = GetDC(window);
    const int height = -MulDiv(label_points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(window, dc);
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

} // namespace

void show_wait_window()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TrattaAttendere";
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return; // the run goes on without its wait window

    // A sizable window with caption, placed where the system puts new windows,
    // whose outer size is chosen so that the client area is exactly 280 x 179.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT r{0, 0, client_width, client_height};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    wait_window = CreateWindowExW(0, wc.lpszClassName, L"Form1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!wait_window)
        return;

    label_font = create_label_font(wait_window);
    HWND label = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT, label_left,
                                 label_top, label_width, label_height, wait_window, nullptr, instance, nullptr);
    if (label && label_font)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(label_font), FALSE);

    // Shown and painted once, label included, before the work starts: the
    // window is not serviced again while the run goes on.
    ShowWindow(wait_window, SW_SHOWNORMAL);
    RedrawWindow(wait_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    GdiFlush();
}

void close_wait_window()
{
    if (wait_window)
        DestroyWindow(wait_window);
    wait_window = nullptr;
    if (label_font)
        DeleteObject(label_font);
    label_font = nullptr;
}

void error_box(const std::string& text) { message_box(text); }

void report(const std::string& message) { message_box(message); }

std::filesystem::path program_folder() { return module_file().parent_path(); }

std::filesystem::path program_file() { return module_file(); }

bool open_in_browser(const std::string& address)
{
    // The browser the user chose as the default one for web addresses.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace tratta::platform

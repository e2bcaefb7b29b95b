// The Win32 wait window and message box.
#include "app/platform.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <stdexcept>
#include <vector>

namespace tratta::platform {

namespace {

HWND wait_window = nullptr;
HFONT label_font = nullptr;

std::wstring widen(const std::string& s)
{
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::wstring application_title()
{
    wchar_t buf[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::filesystem::path p(std::wstring(buf, n));
    return p.stem().wstring();
}

} // namespace

void show_wait_window()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TrattaAttendere";
    RegisterClassW(&wc);

    // Client area of 280 x 179 px at 96 dpi.
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT r{0, 0, 280, 179};
    AdjustWindowRect(&r, style, FALSE);
    wait_window = CreateWindowExW(0, wc.lpszClassName, L"Form1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!wait_window)
        return;

    HDC dc = GetDC(wait_window);
    const int height = -MulDiv(24, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(wait_window, dc);
    label_font = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    HWND label = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT, 64, 64, 177, 53,
                                 wait_window, nullptr, instance, nullptr);
    if (label && label_font)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(label_font), TRUE);

    ShowWindow(wait_window, SW_SHOWNORMAL);
    UpdateWindow(wait_window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
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

void error_box(const std::string& text)
{
    MessageBoxW(nullptr, widen(text).c_str(), application_title().c_str(), MB_OK);
}

void report(const std::string& message)
{
    MessageBoxW(nullptr, widen(message).c_str(), application_title().c_str(), MB_OK);
}

std::filesystem::path program_folder()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            throw std::runtime_error("cartella del programma non trovata");
        if (n < buf.size())
            return std::filesystem::path(std::wstring(buf.data(), n)).parent_path();
        buf.resize(buf.size() * 2);
    }
}

} // namespace tratta::platform

// Only the Windows build has wide arguments and a console code page.
#ifdef _WIN32
#include "autore/command_line/windows_arguments.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace autore {

std::string utf8_from_wide(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return "?";
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

Utf8Arguments::Utf8Arguments(int argc, const wchar_t* const* argv)
{
    for (int i = 0; i < argc; ++i)
        texts_.push_back(utf8_from_wide(argv[i]));
    for (const auto& text : texts_)
        pointers_.push_back(text.c_str());
}

void use_utf8_console()
{
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace autore
#endif

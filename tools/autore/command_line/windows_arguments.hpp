#pragma once
// The tool's arguments on Windows, where the system passes them as wide
// characters: turned into UTF-8 once, at the start, so that every name and
// path of the command line is UTF-8 text from there on.

#include <string>
#include <vector>

namespace autore {

class Utf8Arguments {
public:
    Utf8Arguments(int argc, const wchar_t* const* argv);
    int count() const { return static_cast<int>(pointers_.size()); }
    const char* const* values() const { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

// UTF-8 text from UTF-16; an unpaired surrogate becomes U+FFFD.
std::string utf8_from_wide(const std::wstring& wide);

// The console shows the tool's UTF-8 messages as they are written.
void use_utf8_console();

} // namespace autore

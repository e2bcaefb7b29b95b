#pragma once
// The tool's version, set once in the build.

#include <string_view>

namespace autore {

#ifndef AUTORE_VERSION
#define AUTORE_VERSION "0.0.0"
#endif

inline constexpr std::string_view tool_version = AUTORE_VERSION;

} // namespace autore

#pragma once
// Recognising keys: a key is tested by whether it contains a key word, either
// exactly or ignoring letter case.

#include <string_view>

namespace tratta {

bool contains_exact(std::string_view key, std::string_view word);
bool contains_nocase(std::string_view key, std::string_view word);

// A comment field: any field that holds a dash.
inline bool is_comment(std::string_view key) { return key.find('-') != std::string_view::npos; }

} // namespace tratta

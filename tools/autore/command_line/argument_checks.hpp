#pragma once
// The checks of argument values, each refusing a value with an Italian
// message that reads on from the option's name: "«--step» vuole un numero
// intero da 1 a 1000000, non «abc»".

#include "autore/command_line/real_range.hpp"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

CLI::Validator whole_number_check(int64_t min, int64_t max);
// A number from min to max; "0,5" is taken as "0.5".
CLI::Validator real_number_check(RealRange range);
CLI::Validator choice_check(std::vector<std::string> choices);

// "«a»": a value or a name quoted in a message.
std::string in_quotes(const std::string& text);

// The words with the separator between them: joined({"-o", "--output"}, ", ") is "-o, --output".
std::string joined(const std::vector<std::string>& words, std::string_view separator);

// "«a», «b» e «c»"
std::string quoted_list(const std::vector<std::string>& words, const std::string& last_joint = " e ");

} // namespace autore

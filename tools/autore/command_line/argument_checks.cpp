#include "autore/command_line/argument_checks.hpp"

#include "autore/command_line/nearest_name.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace autore {

std::string in_quotes(const std::string& text) { return "«" + text + "»"; }

std::string joined(const std::vector<std::string>& words, std::string_view separator)
{
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : std::string(separator)) + w;
    return text;
}

std::string quoted_list(const std::vector<std::string>& words, const std::string& last_joint)
{
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += i + 1 == words.size() ? last_joint : ", ";
        text += in_quotes(words[i]);
    }
    return text;
}

CLI::Validator whole_number_check(int64_t min, int64_t max)
{
    const std::string wanted = "vuole un numero intero da " + std::to_string(min) + " a " + std::to_string(max);
    return {[=](std::string& text) -> std::string {
                int64_t value = 0;
                const char* first = text.data();
                const char* last = text.data() + text.size();
                if (first != last && *first == '+')
                    ++first;
                const auto [end, ec] = std::from_chars(first, last, value);
                if (text.empty() || ec != std::errc() || end != last || value < min || value > max)
                    return wanted + ", non " + in_quotes(text);
                return {};
            },
            "", "numero intero"};
}

namespace {

// A bound as an author writes it: "0.05", "86400".
std::string bound_text(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

CLI::Validator real_number_check(RealRange range)
{
    const std::string wanted = "vuole un numero da " + bound_text(range.min) + " a " + bound_text(range.max) + " " +
                               std::string(range.unit);
    return {[=](std::string& text) -> std::string {
                const std::string given = text;
                for (char& c : text)
                    if (c == ',')
                        c = '.';
                double value = 0;
                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
                const bool whole = !text.empty() && ec == std::errc() && end == text.data() + text.size();
                if (!whole || !std::isfinite(value) || value < range.min || value > range.max)
                    return wanted + ", non " + in_quotes(given);
                return {};
            },
            "", "numero"};
}

CLI::Validator choice_check(std::vector<std::string> choices)
{
    return {[choices](std::string& text) -> std::string {
                for (const auto& c : choices)
                    if (c == text)
                        return {};
                std::string message = "vuole " + quoted_list(choices, " o ") + ", non " + in_quotes(text);
                if (choices.size() > 1)
                    message += "; forse " + in_quotes(nearest_name(text, choices)) + "?";
                return message;
            },
            "", "scelta"};
}

} // namespace autore

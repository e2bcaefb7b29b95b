#include "autore/driver_documents/time_text.hpp"

#include "model/nearest.hpp"

#include <algorithm>
#include <cmath>

namespace autore {

namespace {

constexpr int64_t day_s = 86400;

std::string two_digits(int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

int64_t of_day(int64_t seconds) { return ((seconds % day_s) + day_s) % day_s; }

} // namespace

int64_t half_minute(double seconds)
{
    if (std::isnan(seconds))
        return 0;
    // Far beyond any timetable, but never beyond what the count can hold.
    constexpr double bound = 1e15;
    return tratta::nearest(std::clamp(seconds / 30.0, -bound, bound)) * 30;
}

std::string clock_text(double seconds)
{
    const int64_t t = of_day(half_minute(seconds));
    std::string text = std::to_string(t / 3600) + "." + two_digits(t / 60 % 60);
    if (t % 60 != 0)
        text += ".30";
    return text;
}

std::string exact_clock_text(int64_t seconds)
{
    const int64_t t = of_day(seconds);
    return std::to_string(t / 3600) + "." + two_digits(t / 60 % 60) + "." + two_digits(t % 60);
}

std::string duration_text(double seconds)
{
    const int64_t whole = tratta::nearest(std::fabs(seconds));
    return (seconds < 0 && whole != 0 ? "-" : "") + std::to_string(whole / 3600) + "." + two_digits(whole / 60 % 60) +
           "." + two_digits(whole % 60);
}

std::string recovery_text(double seconds)
{
    const int64_t halves = half_minute(seconds) / 30;
    if (halves <= 0)
        return {};
    return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5" : "");
}

} // namespace autore

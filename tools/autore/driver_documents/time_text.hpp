#pragma once
// Times as the railway writes them: a time of day to the half-minute as the
// timetable sheet shows it ("19.39.30", "19.46"), a running time, and a
// recovery margin in minutes ("0.5", "1").

#include <cstdint>
#include <string>

namespace autore {

// Seconds taken to the nearest half-minute (an exact quarter to the even half-minute).
int64_t half_minute(double seconds);

// A time of day from seconds (past midnight they count on: 86400 is 0.00),
// to the half-minute: hours, minutes, and ".30" when it is on the half.
std::string clock_text(double seconds);

// A time of day to the second, for messages: "19.35.20".
std::string exact_clock_text(int64_t seconds);

// A running time to the second: "2.53.40", "0.04.05"; a negative one has a "-".
std::string duration_text(double seconds);

// A recovery margin in minutes to the half-minute: "0.5", "1", "1.5"; empty
// when it comes to nothing.
std::string recovery_text(double seconds);

} // namespace autore

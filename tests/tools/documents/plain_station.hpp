#pragma once
// A station as the documents' tables hold it, for tests that build those
// tables by hand: its zone reaches half_zone_m either side of its position.

#include "autore/route/document_data.hpp"

#include <optional>
#include <string>

namespace autore::testing {

inline TimedStation plain_station(std::string name, int64_t at_m, std::optional<int32_t> time = std::nullopt,
                                  uint8_t kind = 12, bool stop_flag = false, int64_t half_zone_m = 200)
{
    TimedStation s;
    s.name = std::move(name);
    s.at_m = at_m;
    s.zone_start_m = at_m - half_zone_m;
    s.zone_end_m = at_m + half_zone_m;
    s.kind = kind;
    s.stop_flag = stop_flag;
    s.time_s = time;
    return s;
}

} // namespace autore::testing

#pragma once
// The colours of every drawing of the route, the plot's picture and the route
// page alike: a station is the same blue, a signal the same red, wherever an
// author sees it. The page's script takes them from the page's data, under the
// names listed here.

#include <string_view>

namespace autore {

namespace colour {
inline constexpr const char* track = "#2b2b2b";
inline constexpr const char* context = "#b8b8b8"; // the track around the stretch in view
inline constexpr const char* run_out = "#a0a0a0";
inline constexpr const char* station = "#1f4e9a";
inline constexpr const char* signal = "#c62828";
inline constexpr const char* board = "#ef8a17";
inline constexpr const char* indicator = "#00838f";
inline constexpr const char* slowdown = "#f9a825";
inline constexpr const char* code = "#558b2f";
inline constexpr const char* mountain = "#795548";
inline constexpr const char* grid = "#e4e4e4";
inline constexpr const char* axis = "#555555";
inline constexpr const char* rising = "#b5651d";
inline constexpr const char* falling = "#2e7d32";
inline constexpr const char* speed = "#1565c0";
inline constexpr const char* adhesion = "#6a1b9a";
inline constexpr const char* error = "#d32f2f";
inline constexpr const char* warning = "#f57c00";
inline constexpr const char* cursor = "#e53935";
inline constexpr const char* paper = "#fbfbf8";
} // namespace colour

struct NamedColour {
    std::string_view name; // as the page's script names it
    std::string_view value;
};

inline constexpr NamedColour route_colours[] = {
    {"track", colour::track},     {"context", colour::context},   {"runOut", colour::run_out},
    {"station", colour::station}, {"signal", colour::signal},     {"board", colour::board},
    {"indicator", colour::indicator}, {"slowdown", colour::slowdown}, {"code", colour::code},
    {"mountain", colour::mountain}, {"grid", colour::grid},       {"axis", colour::axis},
    {"rising", colour::rising},   {"falling", colour::falling},   {"speed", colour::speed},
    {"adhesion", colour::adhesion}, {"error", colour::error},     {"warning", colour::warning},
    {"cursor", colour::cursor},   {"paper", colour::paper},
};

} // namespace autore

#pragma once
// The keys of the line file and their fields, in the order the reader tests them.

#include "source/key_fields.hpp"

#include <span>

namespace tratta::line_keys {

// General section.
extern const KeySpec route_length;
extern const KeySpec chainage_tre;
extern const KeySpec chainage_due;
extern const KeySpec chainage_uno;
extern const KeySpec background_uno;
extern const KeySpec background_due;
extern const KeySpec background_tre;
extern const KeySpec signal_repetition;

// Body.
extern const KeySpec gradient;
extern const KeySpec curve;
extern const KeySpec mountain;
extern const KeySpec speed_indicator;
extern const KeySpec sign_board;

// Every key of the general section, then every key of the body, in test order.
std::span<const KeySpec* const> general();
std::span<const KeySpec* const> body();

} // namespace tratta::line_keys

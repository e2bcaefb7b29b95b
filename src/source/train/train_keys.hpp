#pragma once
// The keys of the train file and their fields, in the order the reader tests them.

#include "source/key_fields.hpp"

#include <span>

namespace tratta::train_keys {

extern const KeySpec braked_mass;
extern const KeySpec cars;
extern const KeySpec speed_limit;
extern const KeySpec adhesion;
extern const KeySpec clock;
extern const KeySpec sand;
extern const KeySpec signal;
extern const KeySpec slowdown;
extern const KeySpec code_point;
extern const KeySpec station;

std::span<const KeySpec* const> all();

} // namespace tratta::train_keys

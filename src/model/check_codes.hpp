#pragma once
// The stamps and check codes that tie the ".sim" and ".dat" files of one
// scenario together: a plain and a weighted sum over the first 25 characters
// of train name + scenario name (lower case), topped up by a fixed filler.

#include <cstdint>

namespace tratta {

struct RunState;

inline constexpr int16_t stamp_records = 610;  // record 85, int_a
inline constexpr int16_t stamp_grid = 5121;    // cell 1, value

// Builds the check string into work_text and returns the plain code (sum of
// the first 25 character codes, 0 to 6375).
int16_t codice_gara_og(RunState& state);

// Builds the check string into work_text and returns the weighted code (sum of
// position times character code over the first 25, 0 to 82875).
int32_t codice_gara_st(RunState& state);

// Checks that the reserved fields are still empty and stamps them; a taken
// field ends the run through errore with 1250 or 1251.
void timbra(RunState& state);

} // namespace tratta

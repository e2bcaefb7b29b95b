#pragma once
// The entry every fuzz target offers: one input of arbitrary bytes. The
// compile target reads them as two source files (the bytes up to the first
// 0x00 are the line file, those after it the train file; no 0x00: there is no
// train file), the decoder target as a binary file of a compiled scenario, the
// language server's as the bytes an editor sends.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

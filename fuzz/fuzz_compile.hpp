#pragma once
// One input of arbitrary bytes through the whole compile step: the bytes up to
// the first 0x00 are the line file, the bytes after it the train file (no 0x00:
// there is no train file at all). Both are written into one folder per process
// and compiled there as the program compiles its own sources.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

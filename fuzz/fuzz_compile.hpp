#pragma once
// One input of arbitrary bytes through the whole compile step, in memory: the
// bytes up to the first 0x00 are the line file, the bytes after it the train
// file (no 0x00: there is no train file at all). Nothing is written anywhere.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

#pragma once
// The two source files of a compile target's input: the bytes up to the
// first 0x00 are the line file, those after it the train file (no 0x00: there
// is no train file); the names are the embedded scenario's.

#include "app/avvio.hpp"
#include "app/compile_purpose.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

inline tratta::CompileInput compile_input_of(const uint8_t* data, std::size_t size,
                                             tratta::CompilePurpose purpose = tratta::CompilePurpose::program_files)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    return tratta::compile_input(purpose, tratta::SourceText::of(input.substr(0, split)),
                                 split == std::string_view::npos ? tratta::SourceText{}
                                                                 : tratta::SourceText::of(input.substr(split + 1)),
                                 tratta::scenario_constant, tratta::train_constant);
}

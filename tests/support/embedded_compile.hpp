#pragma once
// The embedded scenario's two sources compiled in memory, once per test
// program, as the program compiles them.

#include "app/avvio.hpp"
#include "app/compile_purpose.hpp"
#include "scenario/text_writer.hpp"

#include <memory>
#include <string>

namespace tratta::testing {

struct EmbeddedCompile {
    std::string line = encode_data_set(linea_data());
    std::string train = encode_data_set(treno_data());
    CompileResult result = compile(compile_input(CompilePurpose::program_files, SourceText::of(line),
                                                 SourceText::of(train), scenario_constant, train_constant));
};

inline const EmbeddedCompile& embedded_compile()
{
    static const auto compiled = std::make_unique<EmbeddedCompile>();
    return *compiled;
}

} // namespace tratta::testing

#pragma once
// The two ways a compile ends before any binary file exists: the error box
// (errors 1250 and 1251, a reserved field already taken) and a failure outside
// the numbered errors (no route grid after reading).

#include "model/error_meanings.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tratta {

// Raised by errore; the program shows the box and ends.
class ErrorBox : public std::runtime_error {
public:
    explicit ErrorBox(int32_t number)
        : std::runtime_error(" Errore n. " + std::to_string(number)), number_(number)
    {
    }
    int32_t number() const { return number_; }
    // The text of the box: " Errore n. " and the number.
    std::string box_text() const { return what(); }

private:
    int32_t number_;
};

// A failure outside the numbered errors that ends the compile (no route grid
// after reading, for instance); the message names the cause.
class RunFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Shows " Errore n. " + number and ends the run: never returns to its caller.
[[noreturn]] inline void errore(ErrorNumber number) { throw ErrorBox(number_of(number)); }

} // namespace tratta

#pragma once
// The error box of the run: errors 1250 and 1251 end the run before any binary
// file is written.

#include <stdexcept>
#include <string>

namespace tratta {

// Raised by errore; start-up shows the box and ends the process.
class ErrorBox : public std::runtime_error {
public:
    explicit ErrorBox(std::string number)
        : std::runtime_error(" Errore n. " + number), number_(std::move(number))
    {
    }
    const std::string& number() const { return number_; }
    std::string box_text() const { return what(); }

private:
    std::string number_;
};

// A failure outside the numbered errors that ends the run (no route grid after
// reading, for instance); the message names the cause.
class RunFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Shows " Errore n. " + number and ends the run: never returns to its caller.
[[noreturn]] void errore(const std::string& number);

} // namespace tratta

#include "app/standard_output.hpp"

#include "app/file_steps.hpp"
#include "app/files.hpp"

#include <cerrno>
#include <cstdio>
#include <ostream>

namespace tratta {

void write_standard_output(std::string_view bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
    if (!written) {
        const std::error_code why = errno != 0 ? std::error_code(errno, std::generic_category()) : std::error_code{};
        throw FileFailure::on_standard_output(file_steps::cause("impossibile scrivere", why));
    }
}

void flush_standard_output(std::ostream& out)
{
    out.flush();
    if (!out)
        throw FileFailure::on_standard_output("impossibile scrivere tutti i dati");
}

} // namespace tratta

#pragma once
// The number of a process that has ended (and been waited for), as that of a
// run killed earlier: the files it named after itself are stale.

#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace tratta::testing {

inline std::string ended_process()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return std::to_string(child);
}

} // namespace tratta::testing

#pragma once
// The two workloads of the benchmarks and their baselines: the embedded run,
// and the compile of the longest route the line file allows with curves all
// along it. A baseline writes the same files with the same sizes to the same
// folder and does nothing else.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tratta::bench {

// One file a workload leaves behind or writes on its way, and its size.
struct WrittenFile {
    std::filesystem::path name;
    std::uintmax_t bytes = 0;
    bool deleted_at_end = false; // the two source files
};

// The whole embedded run: five texts written, compiled, three binaries written.
// Returns the run's exit status.
int embedded_run(const std::filesystem::path& folder);

// The line file and train file of a route of 1000000 m curved from end to end.
void write_maximal_route_sources(const std::filesystem::path& folder);
// The sources compiled as the authoring tool compiles them: read, compiled
// in memory, the three binaries written; the sources stay.
int maximal_route_compile(const std::filesystem::path& folder);

// What a workload wrote, found by running it once in a scratch folder.
std::vector<WrittenFile> embedded_run_files();
std::vector<WrittenFile> maximal_route_files();
// The same, read from a folder where the workload has just run.
std::vector<WrittenFile> embedded_run_files_in(const std::filesystem::path& folder);
std::vector<WrittenFile> maximal_route_files_in(const std::filesystem::path& folder);

// Writes files of the same names and sizes and deletes those marked so.
void write_like(const std::filesystem::path& folder, const std::vector<WrittenFile>& files);

std::uintmax_t total_bytes(const std::vector<WrittenFile>& files);
std::uintmax_t largest_file(const std::vector<WrittenFile>& files);

} // namespace tratta::bench

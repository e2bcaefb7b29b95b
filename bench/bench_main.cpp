// Speed of the embedded run and of the largest route the line file allows,
// each beside a baseline that only writes the same bytes to the same folder;
// and, with --peak-memory, the peak resident memory of each run.
#include "bench_scenarios.hpp"

#include "model/line_profile.hpp"
#include "support/temp_folder.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string_view>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace tratta::bench;
using tratta::testing::TempFolder;

const std::vector<WrittenFile>& embedded_files()
{
    static const auto files = embedded_run_files();
    return files;
}

const std::vector<WrittenFile>& route_files()
{
    static const auto files = maximal_route_files();
    return files;
}

void set_bytes(benchmark::State& state, const std::vector<WrittenFile>& files)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(total_bytes(files)));
}

void embedded_run_bench(benchmark::State& state)
{
    TempFolder folder;
    for (auto _ : state)
        if (embedded_run(folder.path()) != 0)
            state.SkipWithError("the embedded run did not end cleanly");
    set_bytes(state, embedded_files());
}

// Writes the same files, of the same sizes, to the same folder, and nothing else.
void write_only_baseline(benchmark::State& state, const std::vector<WrittenFile>& (*files_of_run)())
{
    const auto& files = files_of_run();
    TempFolder folder;
    for (auto _ : state)
        write_like(folder.path(), files);
    set_bytes(state, files);
}

void maximal_route_bench(benchmark::State& state)
{
    TempFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        write_maximal_route_sources(folder.path());
        state.ResumeTiming();
        if (maximal_route_compile(folder.path()) != 0)
            state.SkipWithError("the maximal route did not compile cleanly");
    }
    set_bytes(state, route_files());
}

// The line table alone: the plan of the embedded route's length (G = 341000)
// laid metre by metre into its file image, and the image handed over.
void line_table_build(benchmark::State& state)
{
    for (auto _ : state) {
        tratta::LineProfile table;
        table.create(341000);
        table.set_start(0, 0, 0, 1);
        for (int64_t m = 2; m <= table.last_m() - 2; ++m)
            table.append(0.001 * static_cast<double>(m), static_cast<double>(m));
        const tratta::Bytes file = table.take_file();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * int64_t{6819964});
}

BENCHMARK(line_table_build)->Unit(benchmark::kMillisecond);
BENCHMARK(embedded_run_bench)->Name("embedded_run")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(write_only_baseline, embedded, &embedded_files)->Name("embedded_run_baseline")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(maximal_route_bench)->Name("maximal_route_compile")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(write_only_baseline, route, &route_files)->Name("maximal_route_baseline")->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs the work once in a child of this (still small) process and returns the
// child's peak resident memory in KiB.
long peak_memory_kib(const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        int status = 1;
        try {
            status = work();
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the measured work failed");
    return usage.ru_maxrss;
}

void print_row(const char* name, long kib, const std::vector<WrittenFile>* files)
{
    const double peak = static_cast<double>(kib) / 1024.0;
    if (files) {
        const double largest = static_cast<double>(largest_file(*files)) / (1024.0 * 1024.0);
        std::printf("%-24s %12.1f %12.1f %12.1f\n", name, peak, largest, 2 * largest + 8);
    } else {
        std::printf("%-24s %12.1f\n", name, peak);
    }
}

// Each work runs in a child forked from this process before it has run any
// workload itself, so every child starts from the same small process; the
// file lists are read from the folders the children leave behind.
int report_peak_memory()
{
    TempFolder embedded_dir, embedded_base_dir, route_dir, route_base_dir;
    std::printf("%-24s %12s %12s %12s\n", "work", "peak RSS MiB", "largest MiB", "limit MiB");

    print_row("empty child", peak_memory_kib([] { return 0; }), nullptr);

    const long embedded = peak_memory_kib([&] { return embedded_run(embedded_dir.path()); });
    const auto embedded_list = embedded_run_files_in(embedded_dir.path());
    print_row("embedded_run", embedded, &embedded_list);
    print_row("embedded_run_baseline", peak_memory_kib([&] {
                  write_like(embedded_base_dir.path(), embedded_list);
                  return 0;
              }),
              &embedded_list);

    const long route = peak_memory_kib([&] {
        write_maximal_route_sources(route_dir.path());
        return maximal_route_compile(route_dir.path());
    });
    const auto route_list = maximal_route_files_in(route_dir.path());
    print_row("maximal_route_compile", route, &route_list);
    print_row("maximal_route_baseline", peak_memory_kib([&] {
                  write_like(route_base_dir.path(), route_list);
                  return 0;
              }),
              &route_list);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "--peak-memory")
        return report_peak_memory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

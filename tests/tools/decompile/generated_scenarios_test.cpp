#include "autore/decompile/round_trip.hpp"

#include "app/compile_purpose.hpp"
#include "model/file_decoders.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>

namespace autore {
namespace {

// A scenario an author might write, drawn at random: objects anywhere along
// a route of a random length, many of them laid over each other.
struct Generated {
    std::string line;
    std::string train;
};

Generated generate(unsigned seed)
{
    std::mt19937 rng(seed);
    const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    const int length = pick(0, 60) * 500;
    const int reach = length + 6000; // objects stay inside the grid
    const auto at = [&](int step) { return pick(0, reach / step) * step; };
    std::string line = "[generale]\r\nlunghezza percorso, " + std::to_string(length) + "\r\n";
    line += "progressiva chilometrica uno, " + std::to_string(at(50)) + ", " + std::to_string(pick(-100, 100) * 50) +
            ", " + std::to_string(pick(0, 1)) + "\r\n[corpo]\r\n";
    for (int i = 0, n = pick(0, 12); i < n; ++i)
        line += std::string("curva") + (pick(0, 1) ? "s" : "d") + std::to_string(pick(1, 6)) + ", " +
                std::to_string(pick(0, reach)) + ", " + std::to_string(pick(0, 2000)) + "\r\n";
    for (int i = 0, n = pick(0, 10); i < n; ++i)
        line += "pendenza, " + std::to_string(pick(0, reach)) + ", " + std::to_string(pick(-100, 155)) + "\r\n";
    for (int i = 0, n = pick(0, 6); i < n; ++i) {
        const int a = at(25);
        line += "montagna, " + std::to_string(a) + ", " + std::to_string(a + pick(0, 3000)) + ", " +
                std::to_string(pick(0, 14)) + "\r\n";
    }
    for (int i = 0, n = pick(0, 4); i < n; ++i)
        line += "indicatori_vmax, " + std::to_string(at(50)) + ", " + std::to_string(pick(0, 200)) + ", " +
                std::to_string(pick(0, 200)) + ", " + std::to_string(pick(0, 200)) + ", " + std::to_string(pick(0, 3)) +
                ", " + std::to_string(pick(0, 200)) + ", , , " + std::to_string(pick(0, 9)) + "\r\n";
    for (int i = 0, n = pick(0, 4); i < n; ++i)
        line += "cartello_indicatore, " + std::to_string(at(50)) + ", (Km " + std::to_string(i) + ")\r\n";
    line += "[fine]\r\n";

    std::string train = "[generale]\r\nnumero vetture, " + std::to_string(pick(1, 16)) + "\r\norologio, " +
                        std::to_string(pick(0, 23)) + " " + std::to_string(pick(0, 59)) + " 0\r\n[corpo]\r\n";
    for (const char* key : {"velocita", "aderenza"})
        for (int i = 0, n = pick(1, 6); i < n; ++i)
            train += std::string(key) + ", " + std::to_string(i == 0 ? 0 : pick(0, reach)) + ", " +
                     std::to_string(pick(0, 255)) + "\r\n";
    for (int i = 0, n = pick(0, 4), p = 1000; i < n && p + 900 < reach; ++i, p += pick(20, 60) * 50)
        train += "stazione, " + std::to_string(p) + ", " + std::to_string(pick(0, 30)) + ", " +
                 std::to_string(pick(0, 6) * 100) + ", 0, " + std::to_string(pick(0, 1)) + ", " +
                 std::to_string(pick(0, 1)) + ", 1,1,0, 4,1,1, 0, " + std::to_string(pick(0, 23)) + ", 0, 0, Stazione " +
                 std::to_string(i) + "\r\n";
    for (int i = 0, n = pick(0, 3); i < n; ++i)
        train += "rallentamento, " + std::to_string(at(50)) + ", " + std::to_string(pick(20, 140)) + ", " +
                 std::to_string(pick(0, 30) * 50) + ", 0, " + std::to_string(pick(0, 1)) + ", 0\r\n";
    for (int i = 0, n = pick(0, 10); i < n; ++i)
        train += "segnale, " + std::to_string(at(50)) + ", " + std::to_string(pick(0, 3)) + ", " +
                 std::to_string(pick(0, 9)) + ", 1, 1, " + std::to_string(pick(0, 2)) + ", " + std::to_string(pick(0, 2)) +
                 ", 2,1,1, " + std::to_string(pick(0, 1) * 199) + "\r\n";
    for (int i = 0, n = pick(0, 5); i < n; ++i)
        train += "abbattimento, " + std::to_string(at(50)) + ", " + std::to_string(pick(0, 1) * 270) + "\r\n";
    train += "[fine]\r\n";
    return {line, train};
}

std::string text_of(const tratta::Bytes& b) { return std::string(b.begin(), b.end()); }

// Every generated scenario that compiles without error comes back to the
// byte, mountains laid over each other in three layers included.
TEST(Decompile, GeneratedScenariosThatCompileCleanlyComeBackExact)
{
    constexpr unsigned seeds = 1000;
    int clean = 0;
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        const Generated g = generate(seed);
        const auto first = tratta::compile(tratta::compile_input(tratta::CompilePurpose::files_in_memory,
                                                                 tratta::SourceText::of(g.line),
                                                                 tratta::SourceText::of(g.train), "Valle", "R 101"));
        if (first.outcome != tratta::CompileOutcome::clean)
            continue;
        ++clean;
        const GivenFiles given{text_of(first.files.records), text_of(first.files.grid),
                               text_of(first.files.line_table)};
        LoadedScenario scenario;
        scenario.records = tratta::decode_scenario_records(given.records);
        scenario.cells = tratta::decode_route_cells(given.grid);
        scenario.line_table = tratta::decode_line_profile(given.line_table);
        const RoundTrip trip = round_trip(scenario, given);
        // On failure: the first difference, the line file written back, and the two sources drawn.
        EXPECT_TRUE(trip.differences.empty()) << "seed " << seed << ": " << trip.differences.front() << "\n"
                                              << trip.sources.line << "\n"
                                              << g.line << g.train;
    }
    std::cout << clean << " of " << seeds << " generated scenarios compile without error, each exact\n";
    // The generator is worth its name only while most of what it draws compiles.
    EXPECT_GT(clean, static_cast<int>(seeds) / 3);
}

} // namespace
} // namespace autore

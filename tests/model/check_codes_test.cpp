#include "model/check_codes.hpp"

#include "model/error_box.hpp"
#include "model/run_state.hpp"

#include <gtest/gtest.h>

namespace tratta {
namespace {

RunState named(const std::string& scenario, const std::string& train)
{
    RunState s;
    s.records[85].text = scenario;
    s.records[86].text = train;
    s.cells.create(0);
    return s;
}

// The codes as sums over the first 25 characters of the lower-cased check string.
std::pair<int, int> expected_codes(const std::string& check)
{
    int plain = 0;
    int weighted = 0;
    for (std::size_t i = 0; i < 25; ++i) {
        const int c = static_cast<unsigned char>(check[i]);
        plain += c;
        weighted += static_cast<int>(i + 1) * c;
    }
    return {plain, weighted};
}

TEST(CheckCodes, EmbeddedNamesCountTrainNameThenElevenLettersOfTheScenario)
{
    RunState s = named("Tratta_Esempio", "TR 000 Esempio");
    const auto [plain, weighted] = expected_codes("tr 000 esempiotratta_esem");
    EXPECT_EQ(codice_gara_og(s), plain);
    EXPECT_EQ(codice_gara_st(s), weighted);
    EXPECT_EQ(s.work_text, "tr 000 esempiotratta_esempiomhqwzkrtpvlbnxcsgdjfyoeuai");
}

TEST(CheckCodes, ShortNamesAreToppedUpByTheFiller)
{
    RunState s = named("B", "A");
    const auto [plain, weighted] = expected_codes("abmhqwzkrtpvlbnxcsgdjfyoeuai");
    EXPECT_EQ(codice_gara_og(s), plain);
    EXPECT_EQ(codice_gara_st(s), weighted);
}

TEST(CheckCodes, LetterCaseDoesNotChangeTheCodes)
{
    RunState lower = named("tratta_esempio", "tr 000 esempio");
    RunState upper = named("TRATTA_ESEMPIO", "TR 000 ESEMPIO");
    RunState accented = named("\xC0", "\xC8"); // À and È in Windows-1252
    RunState accented_lower = named("\xE0", "\xE8");
    EXPECT_EQ(codice_gara_og(lower), codice_gara_og(upper));
    EXPECT_EQ(codice_gara_st(lower), codice_gara_st(upper));
    EXPECT_EQ(codice_gara_st(accented), codice_gara_st(accented_lower));
}

TEST(CheckCodes, SwappingTwoCharactersChangesOnlyTheWeightedCode)
{
    RunState a = named("Tratta_Esempio", "TR 000 Esempio");
    RunState b = named("Tratta_Esempio", "RT 000 Esempio");
    EXPECT_EQ(codice_gara_og(a), codice_gara_og(b));
    EXPECT_NE(codice_gara_st(a), codice_gara_st(b));
}

TEST(CheckCodes, StampingFillsTheFourReservedFields)
{
    RunState s = named("Tratta_Esempio", "TR 000 Esempio");
    timbra(s);
    EXPECT_EQ(s.records[85].int_a, 610);
    EXPECT_EQ(s.cells.at(1).value, 5121);
    const auto [plain, weighted] = expected_codes("tr 000 esempiotratta_esem");
    EXPECT_EQ(s.records[85].time_s, weighted);
    EXPECT_EQ(s.cells.at(1).value2, plain);
}

TEST(CheckCodes, ATakenReservedFieldEndsTheRunWithItsNumber)
{
    const struct {
        const char* what;
        void (*spoil)(RunState&);
        int32_t number;
    } rows[] = {
        {"record stamp", [](RunState& s) { s.records[85].int_a = 1; }, 1250},
        {"cell stamp", [](RunState& s) { s.cells.at(1).value = 180; }, 1250},
        {"record code", [](RunState& s) { s.records[85].time_s = 1; }, 1251},
        {"cell code", [](RunState& s) { s.cells.at(1).value2 = 60; }, 1251},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RunState s = named("Tratta_Esempio", "TR 000 Esempio");
        row.spoil(s);
        try {
            timbra(s);
            FAIL() << "no error box";
        } catch (const ErrorBox& box) {
            EXPECT_EQ(box.number(), row.number);
            EXPECT_EQ(box.box_text(), " Errore n. " + std::to_string(row.number));
        }
    }
}

} // namespace
} // namespace tratta

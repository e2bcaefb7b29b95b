// The meanings the dump gives every field: each names a field of the layouts
// and source fields that the key tables have, and every kind of object the
// compile places has its own.
#include "autore/dump/field_meanings.hpp"

#include "model/file_layouts.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace autore {
namespace {

template <std::size_t N>
std::set<std::string_view> names_of(const std::array<tratta::LayoutField, N>& layout)
{
    std::set<std::string_view> names;
    for (const auto& f : layout)
        names.insert(f.name);
    return names;
}

// Every {n} of a rule is a field of its key's line.
void expect_sound(std::span<const FieldMeaning> fields, const std::set<std::string_view>& layout)
{
    std::set<std::string_view> seen;
    for (const FieldMeaning& m : fields) {
        SCOPED_TRACE(std::string(m.field));
        EXPECT_TRUE(layout.contains(m.field));
        EXPECT_TRUE(seen.insert(m.field).second) << "named twice";
        EXPECT_FALSE(m.label.empty());
        EXPECT_FALSE(m.meaning.empty());
        EXPECT_FALSE(m.origin.rule.empty());
        const std::string rule(m.origin.rule);
        const std::regex field_ref(R"(\{(\d+)\})");
        for (auto it = std::sregex_iterator(rule.begin(), rule.end(), field_ref); it != std::sregex_iterator(); ++it) {
            ASSERT_NE(m.origin.key, nullptr) << rule;
            const auto n = std::stoul((*it)[1]);
            EXPECT_GE(n, 1u) << rule;
            EXPECT_LE(n, m.origin.key->fields.size()) << rule;
        }
        EXPECT_EQ(origin_words(m.origin).find('{'), std::string::npos);
    }
}

TEST(FieldMeanings, EveryFieldIsOneOfTheLayoutsAndEverySourceFieldOneOfTheKeys)
{
    const auto cell_names = names_of(tratta::cell_layout);
    const auto record_names = names_of(tratta::record_layout);
    for (const KindMeaning& k : kind_meanings()) {
        SCOPED_TRACE(int{k.kind});
        EXPECT_NE(k.key, nullptr);
        EXPECT_FALSE(k.placement.empty());
        expect_sound(k.fields, cell_names);
    }
    expect_sound(track_fields(), cell_names);
    expect_sound(stamp_cell_fields(), cell_names);
    for (const RoleMeaning& r : role_meanings()) {
        SCOPED_TRACE(std::string(r.name));
        expect_sound(r.fields, record_names);
    }
    // The continuous fields every cell has, all of them.
    for (const char* name : {"kind", "approach", "side", "speed5", "gradient", "adhesion"})
        EXPECT_NE(meaning_of(track_fields(), name), nullptr) << name;
}

TEST(FieldMeanings, EveryKindTheCompilePlacesHasItsMeaning)
{
    using namespace tratta;
    for (const uint8_t kind : {kind_signal, kind_slowdown_end, kind_slowdown_start, kind_slowdown_warning,
                               kind_slowdown_marker, kind_speed_indicator, kind_station_stop, kind_mountain_marker,
                               kind_code_point, kind_code_point_plain, kind_sign_board})
        EXPECT_NE(kind_meaning(kind), nullptr) << int{kind};
    EXPECT_EQ(kind_meaning(kind_none), nullptr);
    EXPECT_EQ(kind_meaning(9), nullptr);
}

TEST(FieldMeanings, OriginsNameTheSourceFields)
{
    const KindMeaning* signal = kind_meaning(tratta::kind_signal);
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ(origin_words(meaning_of(signal->fields, "value4")->origin),
              "«segnale», «decine del quarto valore» (campo 6) × 10 + «tipo» (campo 2) × 3 + «cifra di marcatura» "
              "(campo 7)");
    EXPECT_EQ(origin_words({nullptr, "sempre 610"}), "sempre 610");
}

TEST(FieldMeanings, RecordsPlayTheirRoleByPlace)
{
    tratta::ScenarioRecords r;
    r[1].at_m = 1000;
    r[1].text = "Alfa";
    r[80].text = "(Km 1)";
    r[79].text = "(Km 2)";
    r[78].kind = 4; // a station that stands in the middle of the table
    r[78].text = "Beta";
    r[81].start_m = 500;
    r[86].text = "R 1";
    const struct {
        int index;
        RecordRole role;
    } rows[] = {{0, RecordRole::empty},       {1, RecordRole::station},    {2, RecordRole::empty},
                {78, RecordRole::station},    {79, RecordRole::board_text}, {80, RecordRole::board_text},
                {81, RecordRole::chainage},   {82, RecordRole::empty},      {86, RecordRole::run}};
    for (const auto& row : rows)
        EXPECT_EQ(record_role(r, row.index), row.role) << row.index;
}

} // namespace
} // namespace autore

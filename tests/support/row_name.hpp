#pragma once
// Names the rows of a parameterised test by their place in the table, so that
// ctest lists "row3" rather than the bytes of the row.

#include <gtest/gtest.h>

#include <string>

namespace tratta::testing {

struct RowName {
    template <typename T>
    std::string operator()(const ::testing::TestParamInfo<T>& row) const
    {
        return "row" + std::to_string(row.index);
    }
};

} // namespace tratta::testing

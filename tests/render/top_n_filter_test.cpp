// Which strikes of a series get a bar, and in which order.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/top_n_filter.h"

using namespace tarvio;

namespace {

using Kept = std::vector<std::pair<float, float>>;  // strike, value

Kept strikesAndValues(const std::vector<ProfileEntry>& entries) {
  Kept kept;
  for (const ProfileEntry& entry : entries) kept.emplace_back(entry.strike, entry.value);
  return kept;
}

const std::vector<float> kStrikes = {10, 20, 30, 40, 50};
const std::vector<float> kValues = {5, -3, 0, 9, -7};

struct FilterCase {
  const char* name;
  int32_t positives;
  int32_t negatives;
  Kept kept;
};

class TopNFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(TopNFilter, KeepsTheLargestOfEachSideLargestFirst) {
  EXPECT_EQ(strikesAndValues(filterTopN(kStrikes, kValues, GetParam().positives, GetParam().negatives)),
            GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, TopNFilter,
    testing::Values(FilterCase{"AllOfBoth", 0, 0, {{40, 9}, {10, 5}, {50, -7}, {20, -3}}},
                    FilterCase{"OneOfEach", 1, 1, {{40, 9}, {50, -7}}},
                    FilterCase{"MoreThanThereAre", 10, 10, {{40, 9}, {10, 5}, {50, -7}, {20, -3}}},
                    FilterCase{"NegativeCountsKeepAll", -1, INT32_MIN, {{40, 9}, {10, 5}, {50, -7}, {20, -3}}},
                    FilterCase{"OnlyTheLargestPositive", 1, 0, {{40, 9}, {50, -7}, {20, -3}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TopNFilterEntries, CarryTheirStrikeIndex) {
  const std::vector<ProfileEntry> entries = filterTopN(kStrikes, kValues, 0, 0);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].index, 3);
  EXPECT_EQ(entries[3].index, 1);
}

TEST(TopNFilterEntries, DropZeroAndNaNAndIgnoreUnmatchedRows) {
  const std::vector<float> values = {0.0f, NAN, -0.0f, 2.0f, 4.0f, 6.0f};
  EXPECT_EQ(strikesAndValues(filterTopN(kStrikes, values, 0, 0)), (Kept{{50, 4}, {40, 2}}));
  EXPECT_EQ(strikesAndValues(filterTopN(std::vector<float>{1, 2, 3}, std::vector<float>{7}, 0, 0)),
            (Kept{{1, 7}}));
  EXPECT_TRUE(filterTopN({}, {}, 0, 0).empty());
}

TEST(TopNFilterEntries, KeepOneOfEqualValuesAtTheCut) {
  const std::vector<ProfileEntry> entries =
      filterTopN(std::vector<float>{1, 2}, std::vector<float>{4, 4}, 1, 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].value, 4.0f);
}

}  // namespace

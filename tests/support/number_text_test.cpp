// Numbers read strictly from what a person typed: the whole text, in range.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "tools/support/number_text.h"

namespace {

TEST(NumberText, ReadsTheWholeTextInsideItsRangeOrNothing) {
  constexpr int64_t kMost = std::numeric_limits<int64_t>::max();
  const struct {
    const char* text;
    int64_t low, high;
    std::optional<int64_t> read;
  } whole[] = {
      {"86400", 1, 86400, 86400}, {"86401", 1, 86400, std::nullopt}, {"-5", -10, 0, -5},
      {"99999999999999999999", 0, kMost, std::nullopt}, {"", 0, 1, std::nullopt}, {"12 ", 0, 99, std::nullopt},
      {" 12", 0, 99, std::nullopt}, {"+12", 0, 99, 12}, {"+-1", -9, 9, std::nullopt}, {"1.0", 0, 9, std::nullopt},
      {"0x10", 0, 99, std::nullopt},
  };
  for (const auto& c : whole) EXPECT_EQ(support::readWholeNumber(c.text, c.low, c.high), c.read) << c.text;

  const struct {
    const char* text;
    double low, high;
    std::optional<double> read;
  } decimal[] = {
      {"1e3", 1, 1e7, 1000.0}, {"0.25", 0, 1, 0.25}, {".5", 0, 1, 0.5},
      {"inf", 0, 1e300, std::nullopt}, {"nan", -1e300, 1e300, std::nullopt}, {"1.5 ", 0, 2, std::nullopt},
      {"1,5", 0, 2, std::nullopt}, {"0x1p3", 0, 99, std::nullopt}, {"1e400", 0, 1e300, std::nullopt},
  };
  for (const auto& c : decimal) EXPECT_EQ(support::readDecimalNumber(c.text, c.low, c.high), c.read) << c.text;

  // Types of other widths: the stand-in's port and seed.
  EXPECT_EQ(support::readNumberText<uint16_t>("65535", 0, 65535), 65535);
  EXPECT_FALSE(support::readNumberText<uint16_t>("65536", 0, 65535));
  EXPECT_EQ(support::readNumberText<uint64_t>("18446744073709551615", 0, std::numeric_limits<uint64_t>::max()),
            std::numeric_limits<uint64_t>::max());
  EXPECT_FALSE(support::readNumberText<uint64_t>("-1", 0, std::numeric_limits<uint64_t>::max()));
}

}  // namespace

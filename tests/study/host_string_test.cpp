// HostString assignment and formatting: ownership, the changed flag and the
// empty value, which the host and the study both rely on.
#include <gtest/gtest.h>

#include <string>

#include "study/host_interface.h"

namespace {

TEST(HostStringTest, AssignmentCopiesAndMarksChanged) {
  HostString value{};
  assignHostString(value, "ES_SPX");
  EXPECT_STREQ(value.text, "ES_SPX");
  EXPECT_EQ(value.length, 6u);
  EXPECT_EQ(value.owned, 1);
  EXPECT_EQ(value.changed, 1);
  releaseHostString(value);
}

TEST(HostStringTest, EmptyAndAbsentTexts) {
  HostString value{};
  assignHostString(value, static_cast<const char*>(nullptr));
  assignHostString(value, "");
  EXPECT_EQ(value.changed, 0) << "nothing happens on an empty value";
  EXPECT_EQ(value.text, nullptr);

  assignHostString(value, "x");
  value.changed = 0;
  assignHostString(value, static_cast<const char*>(nullptr));
  EXPECT_EQ(value.text, nullptr);
  EXPECT_EQ(value.changed, 1);

  assignHostString(value, "y");
  value.changed = 0;
  assignHostString(value, "");
  EXPECT_EQ(value.text, nullptr);
  EXPECT_EQ(value.changed, 1);
}

TEST(HostStringTest, SelfAssignmentAndAliasingKeepTheText) {
  HostString value{};
  assignHostString(value, "NQ_NDX");
  assignHostString(value, value);
  EXPECT_STREQ(value.text, "NQ_NDX");
  assignHostString(value, value.text + 3);  // a text inside the value's own buffer
  EXPECT_STREQ(value.text, "NDX");
  formatHostString(value, "%s/%s", value.text, value.text);
  EXPECT_STREQ(value.text, "NDX/NDX");
  releaseHostString(value);
}

TEST(HostStringTest, FormatsIntoAFreshBuffer) {
  HostString value{};
  formatHostString(value, "Host %d %s %lld", 2911, "x", -5LL);
  EXPECT_STREQ(value.text, "Host 2911 x -5");
  EXPECT_EQ(value.length, 14u);
  formatHostString(value, nullptr);
  EXPECT_EQ(value.text, nullptr);
  formatHostString(value, "%s", "");
  EXPECT_STREQ(hostStringText(value), "");
  releaseHostString(value);
  // Short texts take one formatting pass, longer ones two: both ends of the seam.
  for (std::size_t length : {254u, 255u, 256u, 257u, 100000u}) {
    const std::string text(length, 'a');
    formatHostString(value, "%s%c", text.c_str(), 'z');
    EXPECT_EQ(value.length, length + 1);
    EXPECT_EQ(hostStringText(value), text + "z");
  }
  releaseHostString(value);
}

}  // namespace

// JSON strings that stay valid whatever the bytes, and plain decimal numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/standin/json_text.h"

namespace standin {
namespace {

TEST(JsonText, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(jsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(jsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
  EXPECT_EQ(jsonString(std::string("x\0y\x1f\x7f", 5)), R"("x\u0000y\u001f\u007f")");
}

TEST(JsonText, KeepsValidUtf8AndEscapesInvalidBytes) {
  EXPECT_EQ(jsonString("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"");
  EXPECT_EQ(jsonString("\xff"), R"("\u00ff")");
  EXPECT_EQ(jsonString("\xc3"), R"("\u00c3")");               // cut short
  EXPECT_EQ(jsonString("\xc0\xaf"), R"("\u00c0\u00af")");     // overlong
  EXPECT_EQ(jsonString("\xed\xa0\x80"), R"("\u00ed\u00a0\u0080")");  // surrogate
}

TEST(JsonText, WritesNumbersInPlainDecimal) {
  EXPECT_EQ(jsonNumber(5812.5, 2), "5812.5");
  EXPECT_EQ(jsonNumber(5800, 2), "5800");
  EXPECT_EQ(jsonNumber(1.0021, 6), "1.0021");
  EXPECT_EQ(jsonNumber(-0.001, 2), "0");
  EXPECT_EQ(jsonNumber(-12.25, 2), "-12.25");
  EXPECT_EQ(jsonNumber(320000000.126, 2), "320000000.13");
  EXPECT_EQ(jsonNumber(std::nan(""), 2), "0");
  EXPECT_EQ(jsonNumber(std::numeric_limits<double>::infinity(), 2), "0");
}

}  // namespace
}  // namespace standin

// JSON strings that are valid JSON and valid UTF-8 whatever the bytes, read
// back by a strict reader as what was meant; plain decimal numbers.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <limits>
#include <string>

#include "tools/support/json_text.h"
#include "tools/support/utf8_text.h"

namespace {

TEST(JsonText, WritesEveryByteSoAStrictReaderReadsBackWhatWasMeant) {
  const struct {
    const char* what;
    std::string text;
    std::string json;
    std::string readBack;
  } cases[] = {
      {"quote and backslash", "a\"b\\c", R"("a\"b\\c")", "a\"b\\c"},
      {"short escapes", "\n\r\t\b\f", R"("\n\r\t\b\f")", "\n\r\t\b\f"},
      {"other controls and delete", std::string("x\0y\x1f\x7f", 5), R"("x\u0000y\u001f\u007f")",
       std::string("x\0y\x1f\x7f", 5)},
      {"valid UTF-8", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"",
       "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"},
      {"bytes of no UTF-8", "ZG\xff\xfe", R"("ZG\\xff\\xfe")", R"(ZG\xff\xfe)"},
      {"cut short", "\xc3", R"("\\xc3")", R"(\xc3)"},
      {"overlong", "\xc0\xaf", R"("\\xc0\\xaf")", R"(\xc0\xaf)"},
      {"surrogate", "\xed\xa0\x80", R"("\\xed\\xa0\\x80")", R"(\xed\xa0\x80)"},
      {"above U+10FFFF", "\xf4\x90\x80\x80", R"("\\xf4\\x90\\x80\\x80")", R"(\xf4\x90\x80\x80)"},
  };
  for (const auto& c : cases) {
    const std::string json = support::jsonString(c.text);
    EXPECT_EQ(json, c.json) << c.what;
    rapidjson::Document read;
    read.Parse<rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
    ASSERT_FALSE(read.HasParseError()) << c.what;
    EXPECT_EQ(std::string(read.GetString(), read.GetStringLength()), c.readBack) << c.what;
  }
}

TEST(JsonText, GivesARapidJsonWriterTheSameString) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> json(buffer);
  json.StartArray();
  support::writeJsonString(json, "a\xff");
  json.Int(1);
  json.EndArray();
  EXPECT_STREQ(buffer.GetString(), R"(["a\\xff",1])");
}

TEST(JsonText, WritesNumbersInPlainDecimal) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{5812.5, 2, "5812.5"},       {5800, 2, "5800"},
               {1.0021, 6, "1.0021"},       {-0.001, 2, "0"},
               {-12.25, 2, "-12.25"},       {320000000.126, 2, "320000000.13"},
               {std::nan(""), 2, "0"},      {std::numeric_limits<double>::infinity(), 2, "0"}};
  for (const auto& c : cases) EXPECT_EQ(support::jsonNumber(c.value, c.decimals), c.text) << c.value;
  // A float at its shortest, which reads back to itself; null where JSON has no number.
  EXPECT_EQ(support::jsonFloat(5790.45f), "5790.45");
  EXPECT_EQ(support::jsonFloat(-0.0f), "0");
  EXPECT_EQ(support::jsonFloat(std::nanf("")), "null");
  EXPECT_EQ(support::jsonFloat(-std::numeric_limits<float>::infinity()), "null");
}

// One line of a log, whatever the bytes: nothing breaks it or reaches a
// terminal, and a line made safe once stays as it is.
TEST(OneLineText, EscapesEveryByteThatCouldBreakTheLine) {
  const struct {
    std::string text;
    const char* line;
  } cases[] = {
      {"ZG: 5850 \xc3\xa9 \xe2\x82\xac", "ZG: 5850 \xc3\xa9 \xe2\x82\xac"},
      {"A\nB\r\tC", "A\\nB\\r\\tC"},
      {std::string("x\0y\x1b[2J\x7f", 8), "x\\x00y\\x1b[2J\\x7f"},
      {"\xc2\x85 and \xc2\xa0", "\\xc2\\x85 and \xc2\xa0"},  // C1 control, then a no-break space
      {"ZG\xff\xfe \xc3", "ZG\\xff\\xfe \\xc3"},
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // a surrogate
  };
  for (const auto& c : cases) {
    EXPECT_EQ(support::oneLineText(c.text), c.line) << c.text;
    EXPECT_EQ(support::oneLineText(support::oneLineText(c.text)), c.line) << c.text;
  }
}

}  // namespace

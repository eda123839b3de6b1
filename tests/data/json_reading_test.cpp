// The reading conventions: every kind the service may send reads safely.
#include <gtest/gtest.h>


#include <cmath>
#include <memory>
#include <string>

#include "data/json_document.h"
#include "data/json_reading.h"

using namespace tarvio;

namespace {

// Parses into a document that lives as long as the returned pointer.
std::unique_ptr<ResponseDocument> parsed(const char* text) {
  auto document = std::make_unique<ResponseDocument>();
  EXPECT_TRUE(parseResponseJson(text, *document)) << text;
  return document;
}

struct IntegerCase {
  const char* literal;
  bool int32;
  bool int64;
};

class JsonIntegerTests : public testing::TestWithParam<IntegerCase> {};

TEST_P(JsonIntegerTests, DependOnTheLiteralsForm) {
  const std::string text = std::string("[") + GetParam().literal + "]";
  const auto parsedDocument = parsed(text.c_str());
  const JsonValue& document = *parsedDocument;
  const JsonValue& value = jsonElement(document, 0);
  EXPECT_EQ(isJsonInt32(value), GetParam().int32) << GetParam().literal;
  EXPECT_EQ(isJsonInt64(value), GetParam().int64) << GetParam().literal;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, JsonIntegerTests,
    testing::Values(IntegerCase{"17", true, true}, IntegerCase{"-17", true, true},
                    IntegerCase{"17.0", false, false}, IntegerCase{"1.7e1", false, false},
                    IntegerCase{"17e0", false, false}, IntegerCase{"2147483647", true, true},
                    IntegerCase{"-2147483648", true, true}, IntegerCase{"2147483648", false, true},
                    IntegerCase{"-2147483649", false, true},
                    IntegerCase{"9223372036854775807", false, true},
                    IntegerCase{"-9223372036854775808", false, true},
                    IntegerCase{"9223372036854775808", false, false},
                    IntegerCase{"\"17\"", false, false}, IntegerCase{"null", false, false},
                    IntegerCase{"true", false, false}));

TEST(JsonReading, IntegerValuesComeOutExactly) {
  const auto parsedDocument = parsed("[-2147483648, 9223372036854775807, 1.5]");
  const JsonValue& document = *parsedDocument;
  EXPECT_EQ(jsonInt32(jsonElement(document, 0)), INT32_MIN);
  EXPECT_EQ(jsonInt64(jsonElement(document, 1)), INT64_MAX);
  EXPECT_EQ(jsonInt32(jsonElement(document, 2)), 0);
}

TEST(JsonReading, MemberLookupTakesTheFirstExactKey) {
  const auto parsedDocument = parsed(R"({"Spot":1,"spot":2,"spot":3,"spot ":4})");
  const JsonValue& document = *parsedDocument;
  EXPECT_EQ(jsonNumber(jsonMember(document, "spot")), 2.0);
  EXPECT_EQ(jsonNumber(jsonMember(document, "Spot")), 1.0);
  EXPECT_TRUE(jsonMember(document, "SPOT").IsNull());
}

TEST(JsonReading, KeyWithEmbeddedNulDoesNotMatchItsPrefix) {
  const auto parsedDocument = parsed(R"({"spot\u0000x":1})");
  const JsonValue& document = *parsedDocument;
  EXPECT_TRUE(jsonMember(document, "spot").IsNull());
}

TEST(JsonReading, OtherKindsReadAsNullWould) {
  const auto parsedDocument = parsed(R"({"n":"12","o":{"a":1},"a":5,"t":true,"z":null,"s":[1],"x":12})");
  const JsonValue& document = *parsedDocument;
  for (const char* key : {"n", "o", "t", "z", "s", "absent"}) {
    EXPECT_EQ(jsonNumber(jsonMember(document, key)), 0.0) << key;
  }
  for (const char* key : {"o", "a", "t", "z", "x", "absent"}) {
    EXPECT_EQ(jsonArray(jsonMember(document, key)).size(), 0u) << key;
    EXPECT_STREQ(jsonText(jsonMember(document, key)), "") << key;
  }
  EXPECT_TRUE(jsonElement(jsonMember(document, "s"), 1).IsNull());
  EXPECT_TRUE(jsonElement(jsonMember(document, "x"), 0).IsNull());
  EXPECT_TRUE(jsonMember(jsonMember(document, "s"), "a").IsNull());
}

TEST(JsonReading, TextEndsAtAnEscapedNulAndKeepsHighBytes) {
  const auto parsedDocument = parsed("[\"ab\\u0000cd\", \"\xE9t\xE9\"]");
  const JsonValue& document = *parsedDocument;
  EXPECT_STREQ(jsonText(jsonElement(document, 0)), "ab");
  EXPECT_STREQ(jsonText(jsonElement(document, 1)), "\xE9t\xE9");
}

TEST(JsonReading, NumbersConvertToSinglePrecisionOrAreAbsentBeyondIt) {
  const auto parsedDocument =
      parsed("[5812.123456789, 1e300, -1e300, 17, 3.4e38, 3.5e38, -3.5e38]");
  const JsonValue& document = *parsedDocument;
  EXPECT_EQ(jsonFloat(jsonElement(document, 0)), 5812.123456789f);
  EXPECT_TRUE(std::isnan(jsonFloat(jsonElement(document, 1))));
  EXPECT_TRUE(std::isnan(jsonFloat(jsonElement(document, 2))));
  EXPECT_EQ(jsonFloat(jsonElement(document, 3)), 17.0f);
  EXPECT_EQ(jsonFloat(jsonElement(document, 4)), 3.4e38f);
  EXPECT_TRUE(std::isnan(jsonFloat(jsonElement(document, 5))));
  EXPECT_TRUE(std::isnan(jsonFloat(jsonElement(document, 6))));
}

}  // namespace

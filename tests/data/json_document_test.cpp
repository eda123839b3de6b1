// Acceptance rules where the default parse alone would be looser or would
// recurse without bound.
#include <gtest/gtest.h>

#include <pthread.h>

#include <string>

#include "data/json_document.h"
#include "data/json_reading.h"

using namespace tarvio;

namespace {

bool accepts(const std::string& text) {
  ResponseDocument document;
  return parseResponseJson(text.c_str(), document);
}

std::string nestedArrays(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

struct AcceptanceCase {
  const char* name;
  std::string text;
  bool accepted;
};

class JsonAcceptance : public testing::TestWithParam<AcceptanceCase> {};

TEST_P(JsonAcceptance, FollowsTheRules) { EXPECT_EQ(accepts(GetParam().text), GetParam().accepted); }

INSTANTIATE_TEST_SUITE_P(
    Rules, JsonAcceptance,
    testing::Values(
        AcceptanceCase{"Empty", "", false},
        AcceptanceCase{"BlanksOnly", " \t\r\n", false},
        AcceptanceCase{"ScalarRoot", "42", true},
        AcceptanceCase{"ObjectThenCharacter", "{} x", false},
        AcceptanceCase{"ObjectThenBlanks", "{} \r\n", true},
        AcceptanceCase{"TextEndsAtNul", std::string("{}\0garbage", 10), true},
        AcceptanceCase{"ByteOrderMark", "\xEF\xBB\xBF{}", false},
        AcceptanceCase{"LoneLowSurrogate", R"(["\uDFAA"])", false},
        AcceptanceCase{"LoneLowSurrogateInKey", R"({"\uDC00":1})", false},
        AcceptanceCase{"LowSurrogateAfterEscapedBackslash", R"(["\\uDFAA"])", true},
        AcceptanceCase{"LowSurrogateAfterOtherText", R"(["\uD834\uDD1E\uDD1E"])", false},
        AcceptanceCase{"CompletePair", R"(["\uD834\uDD1E"])", true},
        AcceptanceCase{"TwoCompletePairs", R"(["\uD834\uDD1E\uD834\uDD1E"])", true},
        AcceptanceCase{"RawSurrogateBytes", "[\"\xED\xBE\x80\"]", true},
        AcceptanceCase{"RawSurrogateBytesBesideEscapedPair", "[\"\xED\xBE\x80\\uD834\\uDD1E\"]", true},
        AcceptanceCase{"JustBeyondDoubleRange", "[1.8e308]", false},
        AcceptanceCase{"NegativeBeyondDoubleRange", "[-2e308]", false},
        AcceptanceCase{"FarBeyondDoubleRange", "[1e400]", false},
        AcceptanceCase{"LargestDouble", "[1.7976931348623157e308]", true},
        AcceptanceCase{"TooSmallForDouble", "[1e-400]", true},
        AcceptanceCase{"AtNestingLimit", nestedArrays(kMaxJsonNestingDepth), true},
        AcceptanceCase{"BeyondNestingLimit", nestedArrays(kMaxJsonNestingDepth + 1), false},
        AcceptanceCase{"HostileNesting", std::string(100000, '['), false},
        AcceptanceCase{"HostileObjectNesting", [] {
                         std::string text;
                         for (int i = 0; i < 100000; ++i) text += "{\"a\":";
                         return text;
                       }(),
                       false}),
    [](const testing::TestParamInfo<AcceptanceCase>& info) { return std::string(info.param.name); });

// Runs `parse` on a thread with a 1 MiB stack, the least a host thread may
// have; a recursion the nesting limit does not bound overflows it and crashes.
bool parsesOnSmallStack(const std::string& text) {
  struct Job {
    const std::string* text;
    bool accepted;
  } job{&text, false};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 1 << 20);
  pthread_t thread;
  const int created = pthread_create(
      &thread, &attributes,
      [](void* argument) -> void* {
        Job& job = *static_cast<Job*>(argument);
        job.accepted = accepts(*job.text);
        return nullptr;
      },
      &job);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(created, 0);
  if (created == 0) pthread_join(thread, nullptr);
  return job.accepted;
}

TEST(JsonDocument, DeepestAcceptedNestingFitsASmallThreadStack) {
  std::string objects;
  for (unsigned i = 0; i < kMaxJsonNestingDepth; ++i) objects += "{\"a\":";
  objects += "1" + std::string(kMaxJsonNestingDepth, '}');
  EXPECT_TRUE(parsesOnSmallStack(nestedArrays(kMaxJsonNestingDepth)));
  EXPECT_TRUE(parsesOnSmallStack(objects));
  EXPECT_FALSE(parsesOnSmallStack(std::string(1000000, '[')));
}

TEST(JsonDocument, NullTextIsAParseError) {
  ResponseDocument document;
  EXPECT_FALSE(parseResponseJson(nullptr, document));
}

TEST(JsonDocument, TooSmallNumberReadsAsZero) {
  ResponseDocument document;
  ASSERT_TRUE(parseResponseJson("[1e-400, -123e-10000000]", document));
  EXPECT_EQ(jsonNumber(jsonElement(document, 0)), 0.0);
  EXPECT_EQ(jsonNumber(jsonElement(document, 1)), 0.0);
}

TEST(JsonDocument, FailedParseLeavesANullDocument) {
  ResponseDocument document;
  ASSERT_TRUE(parseResponseJson("{\"a\":1}", document));
  EXPECT_FALSE(parseResponseJson("[\"\\uDFAA\"]", document));
  EXPECT_TRUE(document.IsNull());
}

}  // namespace

// Reading the futures-conversion answer into the two premium inputs.
#include "service/futures_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "study/study_inputs.h"
#include "support/record_copy.h"
#include "support/study_fixture.h"

using namespace tarvio;

namespace {

struct ConversionCase {
  const char* body;
  bool changes;
  float multiplier;
  float additive;
  const char* message;
  bool alert;
};

TEST(FuturesConversionTest, RewritesThePremiumsOrReportsWhy) {
  const ConversionCase cases[] = {
      {R"({"future_contract":"ESZ5","multiplier":1.0,"additive":35.5})", true, 1.0f, 35.5f,
       "Tarvio Futures Conversion: -> ESZ5  x1.0000  +35.50", false},
      {R"({"multiplier":0})", true, 1.0f, 0.0f, "Tarvio Futures Conversion: -> ES  x1.0000  +0.00",
       false},
      {"{}", true, 1.0f, 0.0f, "Tarvio Futures Conversion: -> ES  x1.0000  +0.00", false},
      {R"({"error":5,"multiplier":2})", true, 2.0f, 0.0f,
       "Tarvio Futures Conversion: -> ES  x2.0000  +0.00", false},
      {R"({"multiplier":-1.5,"additive":-12.25,"future_contract":7})", true, -1.5f, -12.25f,
       "Tarvio Futures Conversion: -> ES  x-1.5000  -12.25", false},
      {R"({"multiplier":"2","additive":null})", true, 1.0f, 0.0f,
       "Tarvio Futures Conversion: -> ES  x1.0000  +0.00", false},
      {R"({"error":"no such contract","multiplier":3})", false, 0, 0,
       "Tarvio Futures Conversion API Error: \"no such contract\".", true},
      {"[1,2]", false, 0, 0, "Tarvio Futures Conversion: JSON parse error. Will retry later.",
       false},
      {"17", false, 0, 0, "Tarvio Futures Conversion: JSON parse error. Will retry later.", false},
      {"{\"multiplier\":1e999}", false, 0, 0,
       "Tarvio Futures Conversion: JSON parse error. Will retry later.", false},
      {"", false, 0, 0, "Tarvio Futures Conversion: JSON parse error. Will retry later.", false},
      // Parameters beyond the float range would carry every level to infinity.
      {R"({"multiplier":1,"additive":1e300})", false, 0, 0,
       "Tarvio Futures Conversion: multiplier or additive out of range. Will retry later.", true},
      {R"({"multiplier":-3.5e38})", false, 0, 0,
       "Tarvio Futures Conversion: multiplier or additive out of range. Will retry later.", true},
      // Texts from the service cannot forge log lines or reach terminal codes.
      {"{\"error\":\"no\\nTarvio API Error: ERROR: Invalid API Key. \\u001b[31m\"}", false, 0, 0,
       "Tarvio Futures Conversion API Error: \"no\\nTarvio API Error: ERROR: Invalid API Key. "
       "\\x1b[31m\".",
       true},
      {"{\"future_contract\":\"ES\\r\\u0007Z6\"}", true, 1.0f, 0.0f,
       "Tarvio Futures Conversion: -> ES\\r\\x07Z6  x1.0000  +0.00", false},
  };
  for (const ConversionCase& c : cases) {
    StudyFixture fixture;
    HostInput& multiplier = fixture.instance.input(kMultiplicativePremiumInput);
    HostInput& additive = fixture.instance.input(kAdditivePremiumInput);
    multiplier.floatValue = 7.0f;
    additive.floatValue = 8.0f;
    std::vector<HostInput> before, after;
    copyInputs(fixture.instance.record(), before);
    ReadOutcome outcome = ReadOutcome::Halt;
    fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      outcome = parseFuturesConversion(sc, c.body, "ES");
    });
    // The premiums change exactly when the reader says it used the answer.
    EXPECT_EQ(outcome, c.changes ? ReadOutcome::Parsed : ReadOutcome::Retry) << c.body;
    EXPECT_EQ(multiplier.floatValue, c.changes ? c.multiplier : 7.0f) << c.body;
    EXPECT_EQ(additive.floatValue, c.changes ? c.additive : 8.0f) << c.body;
    // No other input is touched, nor any member of the premiums but the value.
    if (c.changes) {
      before[kMultiplicativePremiumInput] = withFloat(before[kMultiplicativePremiumInput], c.multiplier);
      before[kAdditivePremiumInput] = withFloat(before[kAdditivePremiumInput], c.additive);
    }
    copyInputs(fixture.instance.record(), after);
    EXPECT_TRUE(identical(after, before)) << c.body;
    const auto& lines = fixture.instance_log().lines();
    ASSERT_EQ(lines.size(), 1u) << c.body;
    EXPECT_EQ(lines[0].text, c.message);
    EXPECT_EQ(lines[0].alert, c.alert) << c.body;
  }
}

}  // namespace

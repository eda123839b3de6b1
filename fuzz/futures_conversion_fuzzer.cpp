// Fuzzes parseFuturesConversion inside a study call: the two premium inputs
// start at sentinels, and what the reader leaves in them and logs is judged
// against the reference reading of the same text.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/futures_conversion_expectation.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_host.h"
#include "fuzz/reference_reading.h"
#include "service/futures_conversion.h"
#include "study/study_inputs.h"
#include "support/record_copy.h"

using namespace tarvio;

namespace {

using fuzz::ConversionExpectation;
using Inputs = std::vector<HostInput>;

// Values no answer is likely to write, so an unwanted write shows.
constexpr float kAdditiveSentinel = -1234.5f;
constexpr float kMultiplierSentinel = 0.625f;

// The last one must never reach a format: it would print the contract wrong
// or write through %n.
constexpr std::array<const char*, 7> kFuturesTargets = {"ES",    "NQ",         "MESZ5", "",
                                                        nullptr, "ES\xff\xfe", "%s%n%s"};

// The two premium inputs, each with where an expectation holds its value.
constexpr std::pair<int32_t, float ConversionExpectation::*> kPremiums[] = {
    {kMultiplicativePremiumInput, &ConversionExpectation::multiplier},
    {kAdditivePremiumInput, &ConversionExpectation::additive}};

// Whether the call logged and left the inputs as `expected` says; when
// `enforced`, the first part that differs ends the run.
bool leftAs(const ConversionExpectation& expected, const Inputs& before, const Inputs& after,
            bool enforced) {
  const auto& lines = loggedLines();
  FUZZ_EXPECT(enforced, lines.size() == 1);
  FUZZ_EXPECT(enforced, lines[0].text == expected.line);
  FUZZ_EXPECT(enforced, lines[0].alert == expected.alert);
  Inputs inputs = before;
  for (const auto& [premium, value] : kPremiums) {
    if (expected.writesPremiums) inputs[premium] = withFloat(inputs[premium], expected.*value);
    FUZZ_EXPECT(enforced, identical(after[premium], inputs[premium]));
  }
  FUZZ_EXPECT(enforced, identical(after, inputs));
  return true;
}

// What holds whatever the text: one line of one of the four kinds, and the
// premiums rewritten only beside the conversion line, never to a zero or
// non-finite value; no other input touched.
void checkAnyAnswer(const Inputs& before, const Inputs& after) {
  const auto& lines = loggedLines();
  FUZZ_CHECK(lines.size() == 1);
  FUZZ_CHECK(after.size() == before.size());
  Inputs othersAfter = after;
  for (const auto& [premium, value] : kPremiums) othersAfter[premium] = before[premium];
  FUZZ_CHECK(identical(othersAfter, before));
  const std::string& line = lines[0].text;
  if (line.starts_with(fuzz::kConversionDonePrefix)) {
    FUZZ_CHECK(lines[0].alert == 0);
    for (const auto& [premium, value] : kPremiums)
      FUZZ_CHECK(after[premium].kind == kInputFloat && std::isfinite(after[premium].floatValue));
    // Neither 0 nor -0.
    FUZZ_CHECK(after[kMultiplicativePremiumInput].floatValue != 0.0f);
    return;
  }
  FUZZ_CHECK(line == fuzz::kConversionRefusedLine || line == fuzz::kConversionOutOfRangeLine ||
             line.starts_with(fuzz::kConversionErrorPrefix));
  FUZZ_CHECK(lines[0].alert == (line == fuzz::kConversionRefusedLine ? 0 : 1));
  FUZZ_CHECK(identical(after, before));
}

void checkConversion(const char* body, const char* futuresTarget,
                     const fuzz::ReferenceReading& reading) {
  MarketHoursChart& chart = readerChart(true);
  StudyInstance& study = chart.instance();
  study.input(kAdditivePremiumInput).floatValue = kAdditiveSentinel;
  study.input(kMultiplicativePremiumInput).floatValue = kMultiplierSentinel;
  Inputs before, after;
  copyInputs(study.record(), before);
  // Sentinels in place and declared as floats, as the study declares them.
  for (const auto& [premium, value] : kPremiums) FUZZ_CHECK(before[premium].kind == kInputFloat);

  callReader(chart, [&](HostStudyInterface& sc) { parseFuturesConversion(sc, body, futuresTarget); });
  copyInputs(study.record(), after);
  checkAnyAnswer(before, after);

  fuzz::judgeByReading(reading, fuzz::refusedConversion(),
                       fuzz::expectConversion(reading.document, futuresTarget),
                       [&](const ConversionExpectation& expected, bool enforced) {
                         return leftAs(expected, before, after, enforced);
                       });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::checkReaderInput(data, size, kFuturesTargets, checkConversion);
  return 0;
}

#include "fuzz/envelope_checks.h"

#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_host.h"

using fuzz::EnvelopeStep;

namespace {

bool loggedNothing() { return loggedLines().empty(); }

// What the envelope logs at the step that decides.
bool loggedAsStep(const fuzz::ReferenceReading& reading) {
  switch (reading.step) {
    case EnvelopeStep::ParseError:
      return loggedOnly(0, "");
    case EnvelopeStep::InvalidKey:
      return loggedOnly(1, "ERROR: Invalid API Key.");
    case EnvelopeStep::ServiceError:
      // The whole line, the text escaped as the log shows it; holding it
      // verbatim also rules out its use as a format.
      return loggedOnly(1, ("Tarvio API Error: \"" + reading.errorText + "\". Retrying.").c_str());
    case EnvelopeStep::NotObject:
    case EnvelopeStep::NoTimestamp:
    case EnvelopeStep::Snapshot:
      return loggedNothing();
  }
  return false;
}

}  // namespace

bool loggedOnly(int alert, const char* part) {
  const auto& lines = loggedLines();
  return lines.size() == 1 && lines[0].alert == alert &&
         lines[0].text.find(part) != std::string::npos;
}

void checkEnvelope(const fuzz::ReferenceReading& reading, ProfileParseResult result) {
  FUZZ_CHECK(result == ProfileParseResult::Parsed || result == ProfileParseResult::Retry ||
             result == ProfileParseResult::Halt);
  // Whatever the text: a snapshot is taken silently, a halt is announced.
  if (result == ProfileParseResult::Parsed) FUZZ_CHECK(loggedNothing());
  if (result == ProfileParseResult::Halt) FUZZ_CHECK(loggedOnly(1, ""));
  if (result == ProfileParseResult::Retry) FUZZ_CHECK(loggedLines().size() <= 1);

  if (reading.certain) {
    FUZZ_CHECK(result == fuzz::outcomeOf(reading.step));
    FUZZ_CHECK(loggedAsStep(reading));
  } else if (reading.read) {
    // Only a refusal of the text may stand in for the reference's step.
    const bool refused = result == ProfileParseResult::Retry && loggedOnly(0, "");
    FUZZ_CHECK(refused || (result == fuzz::outcomeOf(reading.step) && loggedAsStep(reading)));
  }
}

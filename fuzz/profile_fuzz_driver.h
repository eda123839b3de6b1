// The round every profile fuzzer runs on one input: the parser with no
// profile, into a fresh profile, and into one profile kept across inputs, so
// that refilling over an earlier snapshot is exercised and must give the same
// snapshot as a fresh fill. A call that does not parse must leave the profile
// exactly as it was. A snapshot that parses is then drawn on a chart.
//
// `Traits` names the profile and supplies: parse(text, profile*),
// copyOf(profile) (a comparable copy), checkSnapshot(profile),
// checkAgainstDocument(profile, root), checkWithoutProfile() and
// checkDrawing(profile).
#pragma once

#include <cstddef>
#include <cstdint>

#include "fuzz/envelope_checks.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_host.h"
#include "fuzz/reference_reading.h"
#include "fuzz/snapshot_checks.h"

template <class Traits>
ProfileParseResult parseAndCheck(const char* text, typename Traits::Profile& profile,
                                 const fuzz::ReferenceReading& reading) {
  const auto before = Traits::copyOf(profile);
  resetLoggedLines();
  const ProfileParseResult result = Traits::parse(text, &profile);
  checkEnvelope(reading, result);
  if (result != ProfileParseResult::Parsed) {
    FUZZ_CHECK(Traits::copyOf(profile) == before);
    return result;
  }
  Traits::checkSnapshot(profile);
  if (reading.read) Traits::checkAgainstDocument(profile, reading.document);
  return result;
}

template <class Traits>
int fuzzProfileParser(const uint8_t* data, size_t size) {
  using Profile = typename Traits::Profile;
  const auto text = responseText(data, size);
  fuzz::ReferenceReading reading;
  fuzz::readReference(text.get(), reading);

  resetLoggedLines();
  FUZZ_CHECK(Traits::parse(text.get(), nullptr) == ProfileParseResult::Halt);
  Traits::checkWithoutProfile();

  Profile fresh;
  const ProfileParseResult freshResult = parseAndCheck<Traits>(text.get(), fresh, reading);
  if (size == 0) {
    // A missing text reads as the empty one.
    Profile unread;
    FUZZ_CHECK(parseAndCheck<Traits>(nullptr, unread, reading) == freshResult);
  }

  // Deliberately never freed: it carries the last snapshot to the next input.
  static Profile* const kept = new Profile;
  const ProfileParseResult keptResult = parseAndCheck<Traits>(text.get(), *kept, reading);
  FUZZ_CHECK(keptResult == freshResult);
  if (keptResult == ProfileParseResult::Parsed) {
    FUZZ_CHECK(contentOf(Traits::copyOf(*kept)) == contentOf(Traits::copyOf(fresh)));
    Traits::checkDrawing(fresh);
  }
  return 0;
}

// Runs a profile parser inside an ordinary call of a real study instance, on
// the response text as the host delivers it, and keeps what it logged.
#pragma once

#include <string>
#include <vector>

#include "support/profile_parsers.h"
#include "support/study_fixture.h"

using namespace tarvio;
// Delivers `body` as the answer of a study call and parses it in that call.
template <class Profile>
ReadOutcome parseInCall(StudyInstance& instance, const std::string& body, Profile* profile) {
  CallSettings settings;
  settings.currentDateTime = atTimeOfDay(kMonday2026_03_02, 10, 0);
  settings.httpResponseRequestId = 1;
  settings.httpResponseText = body;
  ReadOutcome result = ReadOutcome::Retry;
  instance.runCallWith(settings, [&](HostStudyInterface& sc) {
    result = parseProfile(sc, sc.httpResponseText.text, profile);
  });
  return result;
}

class ProfileParseHarness {
 public:
  template <class Profile>
  ReadOutcome parse(const std::string& body, Profile* profile) {
    fixture_.instance.log().clear();
    return parseInCall(fixture_.instance, body, profile);
  }

  const std::vector<LogLine>& log() { return fixture_.instance.log().lines(); }

 private:
  StudyFixture fixture_;
};

// A chart with bars and one study instance running the study function from
// the static library, declared through its set-defaults pass. The host takes
// every HTTP request and never answers unless a test says so.
#pragma once

#include <memory>
#include <string>

#include "host/chart.h"
#include "host/scripted_transport.h"
#include "host/study_instance.h"
#include "study/study_function.h"

using namespace tarvio;

// 2026-03-02 (a Monday) 00:00 as a HostDateTime: days since 1899-12-30.
inline constexpr HostDateTime kMonday2026_03_02 = 46083LL * kMicrosecondsPerDay;

inline HostDateTime atTimeOfDay(HostDateTime day, int hours, int minutes, int seconds = 0) {
  return day + ((hours * 60LL + minutes) * 60LL + seconds) * 1000000LL;
}

class StudyFixture {
 public:
  explicit StudyFixture(int barCount = 3) : instance(chart, runStudyFunction, 1) {
    instance.setHttpTransport(std::make_shared<ScriptedTransport>());
    for (int i = 0; i < barCount; ++i) {
      const float price = 5000.0f + static_cast<float>(i);
      chart.appendBar(Bar{atTimeOfDay(kMonday2026_03_02, 10, i), price, price + 1, price - 1, price, 100});
    }
    instance.runSetDefaultsPass();
  }
  // The last call releases what the study keeps (its profile snapshots).
  ~StudyFixture() { instance.runLastCall(true); }

  // An ordinary call at 10:00 New York time (inside the default window).
  void call(bool fullRecalculation = false) {
    CallSettings settings;
    settings.currentDateTime = atTimeOfDay(kMonday2026_03_02, 10, 0);
    settings.clockDateTime = settings.currentDateTime;
    settings.fullRecalculation = fullRecalculation;
    instance.runCall(settings);
  }

  // Runs the ordinary call's preparation and hands back its values.
  OrdinaryCallValues prepare(bool fullRecalculation = false,
                             HostDateTime at = atTimeOfDay(kMonday2026_03_02, 10, 0)) {
    OrdinaryCallValues values{};
    CallSettings settings;
    settings.currentDateTime = at;
    settings.fullRecalculation = fullRecalculation;
    instance.runCallWith(settings, [&](HostStudyInterface& sc) { prepareOrdinaryCall(sc, values); });
    return values;
  }

  void setText(int index, const char* text) {
    HostInput& input = instance.input(index);
    input.kind = kInputText;
    assignHostString(input.textValue, text);
  }

  int alertCount() const {
    int alerts = 0;
    for (const LogLine& line : instance_log().lines()) alerts += line.alert ? 1 : 0;
    return alerts;
  }
  const MessageLog& instance_log() const { return const_cast<StudyInstance&>(instance).log(); }

  Chart chart;
  StudyInstance instance;
};

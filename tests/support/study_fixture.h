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
#include "support/minute_bars.h"

using namespace chart_host;
using namespace tarvio;

class StudyFixture {
 public:
  explicit StudyFixture(int barCount = 3) : instance(chart, runStudyFunction, 1) {
    instance.setHttpTransport(std::make_shared<ScriptedTransport>());
    appendMinuteBars(chart, atTimeOfDay(kMonday2026_03_02, 10, 0), barCount, 5000.0f);
    instance.runSetDefaultsPass();
  }
  // The last call releases what the study keeps (its profile snapshots).
  ~StudyFixture() { instance.runLastCall(true); }

  // An ordinary call at 10:00 New York time (inside the default window).
  void call(bool fullRecalculation = false) {
    instance.runCall(callAt(atTimeOfDay(kMonday2026_03_02, 10, 0), fullRecalculation));
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

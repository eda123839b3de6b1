// The study on a chart of one-minute bars from 10:00 New York time on Monday
// 2026-03-02, with a scripted HTTP transport: every request the study sends
// waits until the test answers it, and the answer arrives on the next call.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/scripted_transport.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "support/study_fixture.h"
#include "support/test_platform.h"

using namespace chart_host;
using namespace tarvio;

// New York wall-clock time on the fixture's Monday (the chart's zone too).
inline HostDateTime mondayAt(int hours, int minutes, int seconds = 0) {
  return atTimeOfDay(kMonday2026_03_02, hours, minutes, seconds);
}

class DriverFixture {
 public:
  explicit DriverFixture(int bars = 30)
      : study(bars), transport(std::make_shared<ScriptedTransport>()) {
    study.instance.setHttpTransport(transport);
    study.setText(kApiKeyInput, "key-123");
    // The module's own HTTPS request never leaves the machine in unit tests.
    setTestEnvironment("TARVIO_TEST_CONNECT_TO", "127.0.0.1:1");
  }
  ~DriverFixture() { study.instance.runLastCall(true); }

  // An ordinary call whose chart time and clock both read `at`.
  void callAt(HostDateTime at, bool fullRecalculation = false) {
    study.instance.runCall(::callAt(at, fullRecalculation));
  }

  int32_t& stored(int32_t key) { return study.instance.store().intValue(key); }
  int requests() const { return static_cast<int>(transport->received().size()); }
  const HttpRequest& lastRequest() const { return transport->received().back(); }

  // How many log lines hold `text`, and how many of them are alerts.
  int logged(const std::string& text) const { return countLines(text, false); }
  int alerted(const std::string& text) const { return countLines(text, true); }

  StudyFixture study;
  std::shared_ptr<ScriptedTransport> transport;

 private:
  int countLines(const std::string& text, bool alertsOnly) const {
    const auto& lines = study.instance_log().lines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const LogLine& line) {
      return line.text.find(text) != std::string::npos && (!alertsOnly || line.alert);
    }));
  }
};

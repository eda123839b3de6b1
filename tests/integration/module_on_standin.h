// The real study module, loaded from its shared library, on a chart of
// one-minute bars from 09:00 New York time on Monday 2026-03-02, talking to
// the loopback stand-in: profile and history requests through the host's
// libcurl transport, the futures conversion through the module's own HTTPS
// request. Answers are awaited, so each arrives on the call after its request.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/curl_transport.h"
#include "host/module_loader.h"
#include "host/study_instance.h"
#include "integration/recording_standin.h"

using namespace chart_host;

// New York wall-clock time (the chart's zone) on the Monday.
HostDateTime mondayNewYork(int hours, int minutes, int seconds = 0);

class ModuleOnStandin {
 public:
  // 09:00 to 10:29, one bar a minute.
  static constexpr int kBars = 90;

  explicit ModuleOnStandin(std::vector<std::string> standinOptions = {},
                           CurlTransportOptions transport = {});
  ~ModuleOnStandin();

  // An ordinary call whose chart time and clock read `at`.
  void callAt(HostDateTime at, bool fullRecalculation = false);
  void setText(int32_t input, const char* text);

  std::string setupError() const;
  int alerts() const;
  std::string logText() const;

  RecordingStandin standin;
  Chart chart;
  std::unique_ptr<LoadedModule> module;
  std::unique_ptr<StudyInstance> instance;
  std::shared_ptr<CurlTransport> transport;

 private:
  std::string loadError_;
};

#include "integration/module_on_standin.h"

#include <cstdlib>

#include "study/study_inputs.h"

using namespace tarvio;

namespace {

// 2026-03-02 as a HostDateTime day.
constexpr HostDateTime kMonday = 46083LL * kMicrosecondsPerDay;

}  // namespace

HostDateTime mondayNewYork(int hours, int minutes, int seconds) {
  return kMonday + ((hours * 60LL + minutes) * 60LL + seconds) * 1000000LL;
}

ModuleOnStandin::ModuleOnStandin(std::vector<std::string> standinOptions,
                                 CurlTransportOptions transportOptions)
    : standin(std::move(standinOptions)) {
  if (!standin.running()) return;
  module = ModuleLoader::load(TARVIO_TEST_ROUTE_MODULE_PATH, loadError_);
  if (!module) return;
  // The module's own request goes to the stand-in and trusts its certificate.
  setenv("TARVIO_TEST_CONNECT_TO", ("127.0.0.1:" + std::to_string(standin.port())).c_str(), 1);
  setenv("TARVIO_TEST_CA_FILE", standin.certificateFile().c_str(), 1);

  for (int i = 0; i < kBars; ++i) {
    const float price = 5800.0f + static_cast<float>(i % 7);
    chart.appendBar(Bar{mondayNewYork(9, i), price, price + 2, price - 2, price + 1, 100});
  }
  chart.setPlotArea(PlotArea{0, 0, 800, 600});
  chart.setPriceRange(5700.0f, 5900.0f);
  chart.setTickSize(0.25f);

  transportOptions.caFile = standin.certificateFile();
  transportOptions.connectTo = {standin.connectTo()};
  transport = std::make_shared<CurlTransport>(transportOptions);
  instance = std::make_unique<StudyInstance>(chart, module->studyFunction(), 1);
  instance->setHttpTransport(transport);
  instance->runSetDefaultsPass();
  setText(kApiKeyInput, RecordingStandin::kApiKey);
}

ModuleOnStandin::~ModuleOnStandin() {
  if (instance) instance->runLastCall(true);
  instance.reset();
  unsetenv("TARVIO_TEST_CONNECT_TO");
  unsetenv("TARVIO_TEST_CA_FILE");
}

std::string ModuleOnStandin::setupError() const {
  if (!standin.running()) return standin.startError();
  return module ? std::string() : loadError_;
}

void ModuleOnStandin::callAt(HostDateTime at, bool fullRecalculation) {
  CallSettings settings;
  settings.currentDateTime = at;
  settings.clockDateTime = at;
  settings.fullRecalculation = fullRecalculation;
  settings.waitForHttpAnswer = true;
  instance->runCall(settings);
}

void ModuleOnStandin::setText(int32_t index, const char* text) {
  HostInput& input = instance->input(index);
  input.kind = kInputText;
  assignHostString(input.textValue, text);
}

int ModuleOnStandin::alerts() const {
  int count = 0;
  for (const LogLine& line : instance->log().lines()) count += line.alert ? 1 : 0;
  return count;
}

std::string ModuleOnStandin::logText() const {
  std::string text;
  for (const LogLine& line : instance->log().lines())
    text += (line.alert ? "! " : "  ") + line.text + "\n";
  return text;
}

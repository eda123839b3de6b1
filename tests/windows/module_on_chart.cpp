#include "windows/module_on_chart.h"

#include <algorithm>

namespace {

// 2026-03-02 (a Monday) 10:00 as a HostDateTime.
constexpr HostDateTime kMondayTen = 46083LL * kMicrosecondsPerDay + 36000LL * 1000000LL;
constexpr HostDateTime kMinute = 60LL * 1000000LL;

}  // namespace

ModuleOnChart::ModuleOnChart(const char* path, bool declare) {
  module = ModuleLoader::load(path, error);
  if (!module) return;
  for (int i = 0; i < 3; ++i) {
    const float price = 5000.0f + static_cast<float>(i);
    chart.appendBar(Bar{kMondayTen + i * kMinute, price, price + 1, price - 1, price, 100});
  }
  instance = std::make_unique<StudyInstance>(chart, module->studyFunction(), 1);
  instance->setHttpTransport(std::make_shared<ScriptedTransport>());
  if (declare) instance->runSetDefaultsPass();
}

ModuleOnChart::~ModuleOnChart() {
  // The instance goes before the module that holds its code.
  if (instance && !instance->ended()) instance->runLastCall(true);
  instance.reset();
}

void ModuleOnChart::call() {
  CallSettings settings;
  settings.currentDateTime = kMondayTen;
  settings.clockDateTime = kMondayTen;
  instance->runCall(settings);
}

void ModuleOnChart::callAndWait(int seconds, bool fullRecalculation) {
  CallSettings settings;
  settings.currentDateTime = kMondayTen + seconds * 1000000LL;
  settings.clockDateTime = settings.currentDateTime;
  settings.fullRecalculation = fullRecalculation;
  settings.waitForHttpAnswer = true;
  instance->runCall(settings);
}

void ModuleOnChart::setText(int index, const char* text) {
  HostInput& input = instance->input(index);
  input.kind = kInputText;
  assignHostString(input.textValue, text);
}

int ModuleOnChart::logged(const std::string& text) const {
  const auto& lines = instance->log().lines();
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const LogLine& line) {
    return line.text.find(text) != std::string::npos;
  }));
}

int ModuleOnChart::alerts() const {
  const auto& lines = instance->log().lines();
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [](const LogLine& line) { return line.alert; }));
}

#include "tools/chart/alert_watch.h"

#include "study/input_readers.h"
#include "study/study_inputs.h"
#include "study/symbol_text.h"

namespace chart_tool {

namespace {

// The ticker as the study asks for it: its input trimmed and upper-cased.
std::string tickerOf(StudyInstance& instance) {
  HostString ticker{};
  tarvio::normaliseSymbolText(ticker, tarvio::readText(instance.input(tarvio::kTickerInput)), nullptr);
  std::string text = hostStringText(ticker);
  releaseHostString(ticker);
  return text;
}

}  // namespace

AlertWatch::AlertWatch(StudyInstance& instance, const ChartOptions& options)
    : instance_(instance), command_(options.onAlertCommand, [&instance](const std::string& line) {
        instance.log().add(kHostLineMark + line, false);
      }) {
  if (options.alerts.any()) alerts_.emplace(options.alerts, options.tickSize);
}

void AlertWatch::look(HostDateTime now) {
  const std::vector<chart_host::Bar>& bars = instance_.chart().bars();
  if (!alerts_ || bars.empty()) return;
  for (const std::string& text : alerts_->look(tickerOf(instance_), bars.back().close, drawnLevels(instance_), now)) {
    instance_.log().add(kHostLineMark + text, true);
    command_.run(text);
  }
}

const std::vector<std::string>& AlertWatch::recentAlerts() const {
  static const std::vector<std::string> kNone;
  return alerts_ ? alerts_->recentAlerts() : kNone;
}

}  // namespace chart_tool

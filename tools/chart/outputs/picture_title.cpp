#include "tools/chart/outputs/picture_title.h"

#include <cstdio>

#include "tools/chart/outputs/input_list.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

using namespace chart_host;

namespace {

constexpr const char* kSeparator = "  \u00b7  ";

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    text += (text.empty() ? "" : kSeparator) + part;
  }
  return text;
}

}  // namespace

std::string futuresConversionText(StudyInstance& instance, const std::string& contractTaken) {
  const std::optional<study_door::FuturesConversion> conversion = study_door::futuresConversion(instance, contractTaken);
  if (!conversion) return {};
  char figures[64];
  std::snprintf(figures, sizeof figures, " \u00d7%.4f %+.2f", static_cast<double>(conversion->multiplier),
                static_cast<double>(conversion->additive));
  return conversion->contract + figures;
}

std::vector<std::string> titleForms(const TitleParts& parts) {
  const auto withConversion = [&](const std::string& conversion) {
    return conversion.empty() ? parts.ticker : parts.ticker + " \u2192 " + conversion;
  };
  const std::string full = withConversion(parts.conversion);
  const std::string brief = withConversion(parts.contract);
  const std::string greek = parts.greek.substr(0, parts.greek.find(" ("));
  const std::string time = parts.dateTime.substr(parts.dateTime.find(' ') + 1);
  const std::vector<std::vector<std::string>> forms = {
      {full, parts.package, parts.greek, parts.dateTime},
      {full, parts.package, greek, parts.dateTime},
      {full, parts.package, greek, time},
      {full, greek, time},
      {full, greek},
      {brief, greek},
      {brief},
      {parts.ticker},
  };
  std::vector<std::string> titles;
  for (const auto& form : forms) {
    const std::string title = joined(form);
    if (titles.empty() || titles.back() != title) titles.push_back(title);
  }
  return titles;
}

void PictureDescription::describe(ChartPictureOptions& picture, StudyInstance& instance, HostDateTime now) {
  if (const auto& answer = instance.lastCallAnswer()) {
    const std::string ticker = study_door::tickerOfRequestUrl(answer->url);
    if (!ticker.empty()) requestTicker_ = ticker;
  }
  const auto& lines = instance.log().lines();
  if (linesRead_ > lines.size()) linesRead_ = 0;  // the log was cleared
  for (; linesRead_ < lines.size(); ++linesRead_) {
    const std::string contract = study_door::contractOfConversionLine(lines[linesRead_].text);
    if (!contract.empty()) contractTaken_ = contract;
  }
  TitleParts parts;
  parts.ticker = study_door::tickerSent(instance, requestTicker_);
  parts.conversion = futuresConversionText(instance, contractTaken_);
  parts.contract = parts.conversion.substr(0, parts.conversion.find(' '));
  parts.package = inputValueText(study_door::packageInput(instance));
  parts.greek = inputValueText(study_door::greekInput(instance));
  parts.dateTime = support::formatDateTime(now).substr(0, 16);
  std::vector<std::string> forms = titleForms(parts);
  picture.title = forms.front();
  picture.shorterTitles.assign(forms.begin() + 1, forms.end());
  picture.levelNames.clear();
  for (const study_door::DrawnLevel& level : study_door::drawnLevels(instance))
    picture.levelNames[level.lineNumber] = level.name;
}

}  // namespace chart_tool::outputs

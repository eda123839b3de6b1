#include "tools/chart/picture_title.h"

#include <cstdio>
#include <cstring>

#include "service/service_endpoint.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "study/symbol_text.h"
#include "tools/chart/drawn_levels.h"
#include "tools/chart/chart_run_output.h"
#include "tools/support/date_time_text.h"

namespace chart_tool {

using namespace chart_host;

namespace {

// How the study logs a conversion it took: the contract follows, then two blanks.
constexpr const char* kConversionTaken = "Tarvio Futures Conversion: -> ";
constexpr const char* kSeparator = "  \u00b7  ";

std::string afterPrefix(const std::string& text, const std::string& prefix) {
  if (text.compare(0, prefix.size(), prefix) != 0) return {};
  const std::string rest = text.substr(prefix.size());
  return rest.substr(0, rest.find('/'));
}

std::string normalisedText(const char* text) {
  HostString normalised{};
  tarvio::normaliseSymbolText(normalised, text, nullptr);
  std::string result = hostStringText(normalised);
  releaseHostString(normalised);
  return result;
}

// The contract of a conversion line the study logged, or empty for another line.
std::string contractTaken(const std::string& line) {
  if (line.rfind(kConversionTaken, 0) != 0) return {};
  const std::string rest = line.substr(std::strlen(kConversionTaken));
  return rest.substr(0, rest.find("  "));
}

std::string storedText(StudyInstance& instance, int32_t key) {
  return hostStringText(instance.store().stringValue(key));
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    text += (text.empty() ? "" : kSeparator) + part;
  }
  return text;
}

}  // namespace

std::string tickerOfRequestUrl(const std::string& url) {
  const std::string history = afterPrefix(url, std::string(tarvio::kHistoryBaseUrl) + "/");
  if (!history.empty()) return history;
  return afterPrefix(url, std::string(tarvio::kServiceBaseUrl) + "/");
}

std::string futuresConversionText(StudyInstance& instance, const std::string& contractTaken) {
  const std::string target = storedText(instance, tarvio::kLastConversionFutureKey);
  if (target.empty()) return {};
  char figures[64];
  std::snprintf(figures, sizeof figures, " \u00d7%.4f %+.2f",
                static_cast<double>(tarvio::readFloat(instance.input(tarvio::kMultiplicativePremiumInput))),
                static_cast<double>(tarvio::readFloat(instance.input(tarvio::kAdditivePremiumInput))));
  return (contractTaken.empty() ? target : contractTaken) + figures;
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
    const std::string ticker = tickerOfRequestUrl(answer->url);
    if (!ticker.empty()) requestTicker_ = ticker;
  }
  const auto& lines = instance.log().lines();
  if (linesRead_ > lines.size()) linesRead_ = 0;  // the log was cleared
  for (; linesRead_ < lines.size(); ++linesRead_) {
    const std::string contract = contractTaken(lines[linesRead_].text);
    if (!contract.empty()) contractTaken_ = contract;
  }
  TitleParts parts;
  parts.ticker = requestTicker_;
  if (parts.ticker.empty()) parts.ticker = storedText(instance, tarvio::kLastConversionTickerKey);
  if (parts.ticker.empty()) parts.ticker = normalisedText(tarvio::readText(instance.input(tarvio::kTickerInput)));
  parts.conversion = futuresConversionText(instance, contractTaken_);
  parts.contract = parts.conversion.substr(0, parts.conversion.find(' '));
  parts.package = inputValueText(instance.input(tarvio::kPackageInput));
  parts.greek = inputValueText(instance.input(tarvio::kGreekInput));
  parts.dateTime = support::formatDateTime(now).substr(0, 16);
  std::vector<std::string> forms = titleForms(parts);
  picture.title = forms.front();
  picture.shorterTitles.assign(forms.begin() + 1, forms.end());
  picture.levelNames.clear();
  for (const DrawnLevel& level : drawnLevels(instance)) picture.levelNames[level.lineNumber] = level.name;
}

}  // namespace chart_tool

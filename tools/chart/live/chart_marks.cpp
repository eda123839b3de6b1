#include "tools/chart/live/chart_marks.h"

#include <cmath>
#include <cstdio>

#include "tools/chart/live/data_age.h"
#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/run/call_reader.h"

namespace chart_tool::live {

namespace {

// The longest name a mark shows, in bytes.
constexpr std::size_t kMarkNameBytes = 16;

std::string shortName(const std::string& name) {
  if (name.size() <= kMarkNameBytes) return name;
  std::size_t end = kMarkNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0u) == 0x80u) --end;
  return name.substr(0, end) + "\u2026";
}

std::string priceText(double price) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", price);
  return text;
}

}  // namespace

std::string levelsFarFromPrice(const std::vector<study_door::DrawnLevel>& levels, std::optional<float> price,
                               const std::string& ticker) {
  if (!price || !std::isfinite(*price) || *price <= 0) return {};
  const study_door::DrawnLevel* farthest = nullptr;
  double farthestShare = kFarFromPrice;
  for (const study_door::DrawnLevel& level : levels) {
    if (!std::isfinite(level.price)) continue;
    const double share = std::fabs(static_cast<double>(level.price) - *price) / *price;
    if (share > farthestShare) farthest = &level, farthestShare = share;
  }
  if (farthest == nullptr) return {};
  return "levels more than " + std::to_string(static_cast<int>(kFarFromPrice * 100)) + " % from the price of " +
         priceText(*price) + " (" + farthest->name + " " + priceText(farthest->price) + "): does the ticker " +
         ticker + " fit these bars?";
}

std::vector<chart_host::AlertMark> alertMarksOf(const std::vector<alerts::RaisedAlert>& alerts) {
  using Shape = chart_host::AlertMark::Shape;
  std::vector<chart_host::AlertMark> marks;
  for (const alerts::RaisedAlert& alert : alerts) {
    const Shape shape = alert.kind == alerts::AlertKind::Near ? Shape::Near
                        : alert.direction == alerts::AlertDirection::Up ? Shape::Up : Shape::Down;
    marks.push_back({alert.barTime, alert.price, shape, shortName(alert.level)});
  }
  return marks;
}

void ChartMarks::afterCall(run::CallRecord& call) {
  DataAgeMarks marks = dataAgeMarks(call.service, call.price, run::requestStartText(call.instance));
  call.levelsWarning = levelsFarFromPrice(study_door::drawnLevels(call.instance), call.price.lastPrice(),
                                          study_door::typedTicker(call.instance));
  if (!call.levelsWarning.empty()) {
    marks.banners.push_back(call.levelsWarning);
    if (!farTold_) call.instance.log().add(chart_host::kHostLineMark + call.levelsWarning, false);
    farTold_ = true;
  }
  const auto shown = [this](const std::string& text) { return outputs::withoutKey(text, apiKey_); };
  chart_host::ChartPictureOptions& picture = call.picture;
  picture.dataAge = shown(marks.dataAge);
  picture.levelsMuted = !marks.warning.empty();
  picture.warning = shown(marks.warning);
  picture.plotNotice = shown(marks.plotNotice);
  picture.priceAge = shown(marks.priceAge);
  picture.priceWarning = shown(marks.priceWarning);
  picture.banners.clear();
  for (const std::string& banner : marks.banners) picture.banners.push_back(shown(banner));
  picture.alertMarks = alertMarksOf(call.raisedAlerts);
  call.notice = shown(marks.notice);
}

}  // namespace chart_tool::live

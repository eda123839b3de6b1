#include "host/chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chart_host {

Chart::Chart(int32_t chartNumber)
    : chartNumber_(chartNumber), zoneText_(kDefaultChartZoneText), zone_(*ZoneText::parse(kDefaultChartZoneText)) {}

bool Chart::setZone(std::string_view zoneText, std::string* error) {
  std::optional<ZoneText> zone = ZoneText::parse(zoneText, error);
  if (!zone) return false;
  zone_ = *zone;
  zoneText_ = std::string(zoneText);
  return true;
}

const ZoneText* Chart::zoneFor(std::string_view zoneText) const {
  if (zoneText.empty()) return &zone_;
  auto found = zoneCache_.find(zoneText);
  if (found == zoneCache_.end()) {
    found = zoneCache_.emplace(std::string(zoneText), ZoneText::parse(zoneText)).first;
  }
  return found->second ? &*found->second : nullptr;
}

bool Chart::convertToZone(HostDateTime chartTime, std::string_view zoneText, HostDateTime& out) const {
  const ZoneText* zone = zoneFor(zoneText);
  if (zone == nullptr) return false;
  out = zone->fromUtc(zone_.toUtc(chartTime));
  return true;
}

bool Chart::convertFromZone(HostDateTime zoneTime, std::string_view zoneText, HostDateTime& out) const {
  const ZoneText* zone = zoneFor(zoneText);
  if (zone == nullptr) return false;
  out = zone_.fromUtc(zone->toUtc(zoneTime));
  return true;
}

void Chart::appendBar(const Bar& bar) {
  bars_.push_back(bar);
  barDateTimes_.push_back(bar.dateTime);
}

void Chart::replaceLastBar(const Bar& bar) {
  if (bars_.empty()) return appendBar(bar);
  bars_.back() = bar;
  barDateTimes_.back() = bar.dateTime;
}

void Chart::clearBars() {
  bars_.clear();
  barDateTimes_.clear();
}

int32_t Chart::dateTimeToBarIndex(HostDateTime time) const {
  const auto after = std::upper_bound(barDateTimes_.begin(), barDateTimes_.end(), time);
  if (after == barDateTimes_.begin()) return 0;
  return static_cast<int32_t>(after - barDateTimes_.begin() - 1);
}

void Chart::setPriceRange(float lowPrice, float highPrice) {
  lowPrice_ = lowPrice;
  highPrice_ = highPrice;
}

int32_t Chart::priceToY(float price) const {
  const double height = static_cast<double>(plotArea_.bottom) - plotArea_.top;
  const double range = static_cast<double>(highPrice_) - lowPrice_;
  double y;
  if (!(range > 0.0)) {
    y = plotArea_.top + height / 2.0;
  } else {
    y = plotArea_.top + (static_cast<double>(highPrice_) - price) / range * height;
  }
  // A price far outside the range, or not a number, lands far outside the
  // plotting area rather than wrapping around.
  constexpr double kLowest = std::numeric_limits<int32_t>::min();
  constexpr double kHighest = std::numeric_limits<int32_t>::max();
  if (std::isnan(y)) return std::numeric_limits<int32_t>::min();
  // Halves round away from zero; the clamped value fits the cast.
  const double clamped = std::clamp(y, kLowest, kHighest);
  return static_cast<int32_t>(static_cast<int64_t>(clamped + (clamped < 0.0 ? -0.5 : 0.5)));
}

float Chart::yToPrice(int32_t y) const {
  const double height = static_cast<double>(plotArea_.bottom) - plotArea_.top;
  if (!(height > 0.0)) return lowPrice_;
  const double range = static_cast<double>(highPrice_) - lowPrice_;
  return static_cast<float>(highPrice_ - (y - plotArea_.top) / height * range);
}

}  // namespace chart_host

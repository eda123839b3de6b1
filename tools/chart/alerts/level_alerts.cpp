#include "tools/chart/alerts/level_alerts.h"

#include <cmath>
#include <cstdio>

#include "tools/support/date_time_text.h"

namespace chart_tool::alerts {

namespace {

// Prices are written with as many decimals as the tick has, and at least two:
// levels come from the service in cents whatever the chart's tick.
int decimalsOf(float tickSize_price) {
  int decimals = 0;
  for (double scaled = tickSize_price; decimals < 6 && std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled;
       scaled *= 10)
    ++decimals;
  return decimals > 2 ? decimals : 2;
}

// -1 below the level, 1 above it, 0 on it.
int sideOf(float price, float level) { return price > level ? 1 : (price < level ? -1 : 0); }

}  // namespace

LevelAlerts::LevelAlerts(const AlertSettings& settings, float tickSize_price)
    : settings_(settings), tickSize_price_(tickSize_price), decimals_(decimalsOf(tickSize_price)) {}

std::vector<std::string> LevelAlerts::look(const std::string& ticker, float price,
                                           const std::vector<study_door::DrawnLevel>& levels, HostDateTime now) {
  return lookAt(ticker, price, levels, now, true);
}

void LevelAlerts::follow(float price, const std::vector<study_door::DrawnLevel>& levels) {
  lookAt({}, price, levels, 0, false);
}

std::vector<std::string> LevelAlerts::lookAt(const std::string& ticker, float price,
                                             const std::vector<study_door::DrawnLevel>& levels, HostDateTime now,
                                             bool raise) {
  std::vector<std::string> raised;
  std::map<LevelKey, LevelMemory> seen;
  std::map<std::string, int> sameName;
  for (const study_door::DrawnLevel& level : levels) {
    const LevelKey key{level.name, sameName[level.name]++};
    lookAtLevel(ticker, price, level, key, now, raise ? &raised : nullptr);
    seen[key] = levels_[key];
  }
  // A level that is gone starts afresh when it comes back: its first look
  // raises nothing, as for a level that moved.
  levels_ = std::move(seen);
  for (const std::string& text : raised) keep(text);
  return raised;
}

void LevelAlerts::lookAtLevel(const std::string& ticker, float price, const study_door::DrawnLevel& level,
                              const LevelKey& key, HostDateTime now, std::vector<std::string>* raised) {
  const auto known = levels_.find(key);
  const bool seenBefore = known != levels_.end();
  LevelMemory memory = seenBefore ? known->second : LevelMemory{};
  const bool judged = seenBefore && raised != nullptr;
  const std::string where = (ticker.empty() ? "" : ticker + " ") + priceText(price);
  const std::string at = " at " + support::formatTimeOfDay(now);

  if (settings_.nearTicks > 0 && judged) {
    // Half a thousandth of a tick absorbs the rounding of float prices.
    const double reach = (settings_.nearTicks + 0.0005) * tickSize_price_;
    const bool within = std::fabs(static_cast<double>(price) - level.price) <= reach;
    const bool withinBefore = std::fabs(static_cast<double>(memory.lastPrice) - level.price) <= reach;
    if (within && !withinBefore && outOfQuietTime(key, Kind::Near, now)) {
      const std::string ticks = std::to_string(settings_.nearTicks) + (settings_.nearTicks == 1 ? " tick" : " ticks");
      raised->push_back(where + " within " + ticks + " of " + level.name + " " + priceText(level.price) + at);
    }
  }

  const int side = sideOf(price, level.price);
  if (settings_.cross && judged && memory.lastOffPrice && side != 0) {
    const int sideBefore = sideOf(*memory.lastOffPrice, level.price);
    if (sideBefore == -side && outOfQuietTime(key, Kind::Cross, now))
      raised->push_back(where + " crossed " + level.name + " " + priceText(level.price) +
                       (side > 0 ? " upward" : " downward") + at);
  }

  memory.lastPrice = price;
  if (side != 0) memory.lastOffPrice = price;
  levels_[key] = memory;
}

bool LevelAlerts::outOfQuietTime(const LevelKey& level, Kind kind, HostDateTime now) {
  const auto [last, first] = lastAlerted_.try_emplace({level, kind}, now);
  if (first) return true;
  if (now - last->second < settings_.quiet_s * kMicrosecondsPerSecond) return false;
  last->second = now;
  return true;
}

std::string LevelAlerts::priceText(float price) const {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals_, static_cast<double>(price));
  return text;
}

void LevelAlerts::keep(std::string text) {
  if (recent_.size() == kRecentAlertsKept) recent_.erase(recent_.begin());
  recent_.push_back(std::move(text));
}

}  // namespace chart_tool::alerts

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

std::vector<RaisedAlert> LevelAlerts::look(const std::string& ticker, float price,
                                           const std::vector<study_door::DrawnLevel>& levels, HostDateTime now) {
  return lookAt(ticker, price, levels, now, true);
}

void LevelAlerts::follow(float price, const std::vector<study_door::DrawnLevel>& levels) {
  lookAt({}, price, levels, 0, false);
}

std::vector<RaisedAlert> LevelAlerts::lookAt(const std::string& ticker, float price,
                                             const std::vector<study_door::DrawnLevel>& levels, HostDateTime now,
                                             bool raise) {
  std::vector<RaisedAlert> raised;
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
  for (const RaisedAlert& alert : raised) keep(alert.text);
  return raised;
}

void LevelAlerts::lookAtLevel(const std::string& ticker, float price, const study_door::DrawnLevel& level,
                              const LevelKey& key, HostDateTime now, std::vector<RaisedAlert>* raised) {
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
    // The way the price came: up when it rose into reach; for a level that
    // moved onto a still price, up when the price is below it.
    const bool rising = price != memory.lastPrice ? price > memory.lastPrice : price < level.price;
    const AlertDirection direction = rising ? AlertDirection::Up : AlertDirection::Down;
    if (within && !withinBefore && outOfQuietTime(key, AlertKind::Near, direction, now)) {
      RaisedAlert alert = alertOf(ticker, price, level, AlertKind::Near, direction, now);
      const std::string ticks = std::to_string(settings_.nearTicks) + (settings_.nearTicks == 1 ? " tick" : " ticks");
      alert.text = where + " within " + ticks + " of " + level.name + " " + alert.levelPriceText + at;
      raised->push_back(std::move(alert));
    }
  }

  const int side = sideOf(price, level.price);
  if (settings_.cross && judged && memory.lastOffPrice && side != 0) {
    const int sideBefore = sideOf(*memory.lastOffPrice, level.price);
    const AlertDirection direction = side > 0 ? AlertDirection::Up : AlertDirection::Down;
    if (sideBefore == -side && outOfQuietTime(key, AlertKind::Cross, direction, now)) {
      RaisedAlert alert = alertOf(ticker, price, level, AlertKind::Cross, direction, now);
      alert.text = where + " crossed " + level.name + " " + alert.levelPriceText +
                   (side > 0 ? " upward" : " downward") + at;
      raised->push_back(std::move(alert));
    }
  }

  memory.lastPrice = price;
  if (side != 0) memory.lastOffPrice = price;
  levels_[key] = memory;
}

bool LevelAlerts::outOfQuietTime(const LevelKey& level, AlertKind kind, AlertDirection direction, HostDateTime now) {
  const auto [last, first] = lastAlerted_.try_emplace({level, kind, direction}, now);
  if (first) return true;
  if (now - last->second < settings_.quiet_s * kMicrosecondsPerSecond) return false;
  last->second = now;
  return true;
}

RaisedAlert LevelAlerts::alertOf(const std::string& ticker, float price, const study_door::DrawnLevel& level,
                                 AlertKind kind, AlertDirection direction, HostDateTime now) const {
  RaisedAlert alert;
  alert.ticker = ticker;
  alert.level = level.name;
  alert.levelPrice = level.price;
  alert.price = price;
  alert.levelPriceText = priceText(level.price);
  alert.priceText = priceText(price);
  alert.kind = kind;
  alert.direction = direction;
  alert.time = now;
  return alert;
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

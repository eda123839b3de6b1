// Alerts when the last price meets a level the study drew: it crosses the
// level, or comes within a number of ticks of it. The watcher is shown the
// price and the levels at every look and says which alerts that look raises.
// Levels are told apart by their names. Each look is judged against the
// levels' current prices, so a level that moves over a still price (a new
// answer) raises nothing. The quiet time holds for one level, kind and
// direction: a price hovering on a level alerts once each way, and a failed
// breakout (a cross and a cross back) is two alerts. Not thread-safe: one run
// uses one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "study/host_interface.h"
#include "tools/chart/alerts/alert_settings.h"
#include "tools/chart/alerts/raised_alert.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::alerts {

class LevelAlerts {
 public:
  static constexpr std::size_t kRecentAlertsKept = 20;

  // `tickSize_price` is the chart's tick: the unit of the near distance and
  // the precision prices are written with.
  LevelAlerts(const AlertSettings& settings, float tickSize_price);

  // One look at `price` against `levels` at clock time `now`; the alerts it
  // raises, in the levels' order (near before crossed for one level), their
  // barTime left 0 for the caller. `ticker` starts each text.
  std::vector<RaisedAlert> look(const std::string& ticker, float price,
                                const std::vector<study_door::DrawnLevel>& levels, HostDateTime now);

  // A look that raises nothing, while alerts are held: the levels' memories
  // follow the price, so a crossing is judged from the price before it once
  // alerts are judged again.
  void follow(float price, const std::vector<study_door::DrawnLevel>& levels);

  // The latest alert texts, oldest first, at most kRecentAlertsKept.
  const std::vector<std::string>& recentAlerts() const { return recent_; }

 private:
  // A level by its name and, for names given to more than one level, which
  // of them (0 first).
  using LevelKey = std::pair<std::string, int>;

  // What the watcher remembers of a level seen on the latest look.
  struct LevelMemory {
    float lastPrice = 0;
    // The latest price looked at that was off the level (not on it): a price
    // that touches a level and carries on has crossed it from there.
    std::optional<float> lastOffPrice;
  };

  // The alerts of one level on this look; updates its memory.
  // `raised` null: the memory only.
  void lookAtLevel(const std::string& ticker, float price, const study_door::DrawnLevel& level,
                   const LevelKey& key, HostDateTime now, std::vector<RaisedAlert>* raised);
  std::vector<RaisedAlert> lookAt(const std::string& ticker, float price,
                                  const std::vector<study_door::DrawnLevel>& levels, HostDateTime now, bool raise);

  // True when the level, kind and direction was not alerted within the
  // quiet time; then the alert counts as given now.
  bool outOfQuietTime(const LevelKey& level, AlertKind kind, AlertDirection direction, HostDateTime now);
  // The alert's parts but its text, which the caller words.
  RaisedAlert alertOf(const std::string& ticker, float price, const study_door::DrawnLevel& level, AlertKind kind,
                      AlertDirection direction, HostDateTime now) const;
  std::string priceText(float price) const;
  void keep(std::string text);

  AlertSettings settings_;
  float tickSize_price_;
  int decimals_;
  std::map<LevelKey, LevelMemory> levels_;  // the levels of the latest look
  std::map<std::tuple<LevelKey, AlertKind, AlertDirection>, HostDateTime> lastAlerted_;
  std::vector<std::string> recent_;
};

}  // namespace chart_tool::alerts

// How old the price on the chart is, call by call: the newest bar's time,
// when the bars last moved (a new bar, or the newest one changed), and
// whether a trader may still take the price for the market's. Fed after
// every call, like the service's record; what the title bar, the status and
// the alerts go by. Not thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/chart.h"

namespace chart_tool::run {

// What the run told of its bars file on one call (a line skipped, a file
// that cannot be read), as its log has it, and what is wrong with the file
// then; empty while nothing is.
struct BarsTrouble {
  std::vector<std::string> told;
  std::string warning;
};

class PriceRecord {
 public:
  // Bars that have not moved for this many bar periods are no longer the
  // market's price.
  static constexpr int64_t kStalePeriods = 3;

  // `live`: the bars follow the market as it happens (the real clock, or a
  // replay of a run on it); only then can the price be stale. `synthetic`:
  // the bars are made up, for trying the program.
  PriceRecord(bool live, bool synthetic) : live_(live), synthetic_(synthetic) {}

  // After a call at `now` with the chart's bars; `windowOpen` is the study's
  // request window, outside which a still price is the market closed.
  void noteCall(HostDateTime now, const std::vector<chart_host::Bar>& bars, bool windowOpen, BarsTrouble trouble);

  std::optional<HostDateTime> priceTime() const { return newest_ ? std::optional(newest_->dateTime) : std::nullopt; }
  std::optional<float> lastPrice() const { return newest_ ? std::optional(newest_->close) : std::nullopt; }
  // Seconds since the bars last moved; before the run saw them move, since
  // the newest bar's time. None without bars.
  std::optional<int64_t> age_s() const;
  // The shortest step between the newest bars (a minute with fewer than two).
  int64_t barPeriod_s() const { return barPeriod_s_; }
  bool synthetic() const { return synthetic_; }
  const std::string& barsWarning() const { return bars_.warning; }
  const std::vector<std::string>& barsTold() const { return bars_.told; }

  bool stale() const { return !staleReason().empty(); }
  // "the bars have not moved since 17:59:00, three bar periods of 60 s"
  // while stale; empty otherwise.
  std::string staleReason() const;

 private:
  bool live_;
  bool synthetic_;
  std::optional<chart_host::Bar> newest_;
  std::size_t count_ = 0;
  HostDateTime movedAt_ = 0;
  HostDateTime now_ = 0;
  int64_t barPeriod_s_ = 60;
  bool windowOpen_ = false;
  BarsTrouble bars_;
};

}  // namespace chart_tool::run

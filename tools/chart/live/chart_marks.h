// After every call: the marks that say how old the chart is and what is
// wrong with it (see data_age.h), put on the picture before it is drawn,
// and a check that the levels belong to the bars' market: a ticker that
// does not fit the bars draws levels far from the price, told once in the
// log and shown while it lasts. Texts of the service's can reach the
// marks (a refusal's words), so the key is hidden in all of them. The run's
// alerts are marked where they fired.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/chart/run/after_call.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::live {

// A level this far from the price, as a share of it, is not of these bars.
inline constexpr double kFarFromPrice = 0.20;

// "levels more than 20 % from the price of 5747.25 (ZG 19800.5): does the
// ticker NQ_NDX fit these bars?", naming the farthest level; empty when
// every level is nearer, or without a price.
std::string levelsFarFromPrice(const std::vector<study_door::DrawnLevel>& levels, std::optional<float> price,
                               const std::string& ticker);

// The picture's marks of `alerts`, each named by its level (cut to a few
// characters, at a character's start, so it stays a short tag).
std::vector<chart_host::AlertMark> alertMarksOf(const std::vector<alerts::RaisedAlert>& alerts);

class ChartMarks : public run::AfterCall {
 public:
  explicit ChartMarks(std::string apiKey) : apiKey_(std::move(apiKey)) {}
  void afterCall(run::CallRecord& call) override;

 private:
  std::string apiKey_;
  bool farTold_ = false;
};

}  // namespace chart_tool::live

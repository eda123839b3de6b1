// The message log of a study instance: every line the study reported, in
// order, with its alert flag. An optional sink sees each line as it arrives
// (the chart program prints them). Not thread-safe.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace chart_host {

struct LogLine {
  std::string text;
  bool alert;
};

class MessageLog {
 public:
  using Sink = std::function<void(const LogLine&)>;

  void add(std::string text, bool alert);
  void setSink(Sink sink) { sink_ = std::move(sink); }
  const std::vector<LogLine>& lines() const { return lines_; }
  void clear() { lines_.clear(); }

 private:
  std::vector<LogLine> lines_;
  Sink sink_;
};

}  // namespace chart_host

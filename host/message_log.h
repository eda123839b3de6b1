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

// Starts the lines the host itself adds to a study's message log (its notes on
// answers, the chart program's alerts), so they are never taken for the
// study's own: the study's lines start with the feature they come from.
inline constexpr const char* kHostLineMark = "Host: ";
inline bool isHostLine(const LogLine& line) { return line.text.rfind(kHostLineMark, 0) == 0; }

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

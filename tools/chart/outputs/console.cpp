#include "tools/chart/outputs/console.h"

#include <cstdio>
#include <iostream>
#include <mutex>

#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/run/platform.h"

namespace chart_tool::outputs {

namespace {

// Standard error, shared by the consoles of a board's charts.
std::mutex& standardErrorMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

// A board's charts draw no progress bar: several would overwrite each other.
Console::Console(command_line::ConsoleSettings settings, std::string chart)
    : settings_(settings),
      prefix_(chart.empty() ? std::string() : chart + ": "),
      progressOn_(chart.empty() && settings.progress && run::standardErrorIsTerminal()) {}

void Console::write(const std::string& text) {
  clearProgress();
  std::lock_guard lock(standardErrorMutex());
  std::cerr << text << std::flush;
}

void Console::tell(const std::string& line) {
  lastTold_ = withoutKey(line, key_);
  write("tarvio-chart: " + prefix_ + lastTold_ + "\n");
}

void Console::logLine(const std::string& line) {
  if (settings_.quiet) return;
  write(prefix_ + line + "\n");
}

void Console::showProgress(const std::string& bar) {
  std::fputs(("\r" + bar).c_str(), stderr);
  std::fflush(stderr);
  progressShown_ = true;
}

void Console::clearProgress() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stderr);
  progressShown_ = false;
}

}  // namespace chart_tool::outputs

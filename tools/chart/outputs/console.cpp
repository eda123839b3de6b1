#include "tools/chart/outputs/console.h"

#include <cstdio>
#include <iostream>

#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/run/platform.h"

namespace chart_tool::outputs {

Console::Console(command_line::ConsoleSettings settings)
    : settings_(settings), progressOn_(settings.progress && run::standardErrorIsTerminal()) {}

void Console::tell(const std::string& line) {
  clearProgress();
  std::cerr << "tarvio-chart: " << withoutKey(line, key_) << "\n";
}

void Console::logLine(const std::string& line) {
  if (settings_.quiet) return;
  clearProgress();
  std::cerr << line << "\n";
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

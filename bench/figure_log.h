// Figures for the run script's summary: one "metric kind rows value" line
// each, in a file the script names. Without a file nothing is written.
#pragma once

#include <fstream>
#include <string>

#include "bench/profile_response_generator.h"

class FigureLog {
 public:
  // An empty path keeps no log.
  explicit FigureLog(const std::string& path);

  // False when a file was named but cannot be written.
  bool usable() const;

  void record(const char* metric, ProfileKind kind, int rows, double value);
  // For figures of no profile kind; `kind` is one word, rows 0 when there are none.
  void record(const char* metric, const char* kind, int rows, double value);

 private:
  bool wanted_;
  std::ofstream out_;
};

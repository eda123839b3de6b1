#include "bench/figure_log.h"

FigureLog::FigureLog(const std::string& path) : wanted_(!path.empty()) {
  if (wanted_) out_.open(path, std::ios::out | std::ios::trunc);
}

bool FigureLog::usable() const { return !wanted_ || out_.is_open(); }

void FigureLog::record(const char* metric, ProfileKind kind, int rows, double value) {
  record(metric, profileKindName(kind), rows, value);
}

void FigureLog::record(const char* metric, const char* kind, int rows, double value) {
  if (!out_.is_open()) return;
  out_ << metric << ' ' << kind << ' ' << rows << ' ' << value << '\n';
  out_.flush();
}

#include "host/message_log.h"

namespace chart_host {

void MessageLog::add(std::string text, bool alert) {
  lines_.push_back(LogLine{std::move(text), alert});
  if (sink_) sink_(lines_.back());
}

}  // namespace chart_host

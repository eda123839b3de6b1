// One alert the run raised on the last price meeting a level, in its parts:
// what the log line says, and each part on its own for those that show or
// hand it on (the program started with it, the status, the picture's mark).
#pragma once

#include <string>

#include "study/host_interface.h"

namespace chart_tool::alerts {

enum class AlertKind { Cross, Near };
// Up: a crossing upward, or the price coming near a level from below.
enum class AlertDirection { Up, Down };

struct RaisedAlert {
  std::string text;  // the log's line, e.g. "ES_SPX 5869.25 crossed ZG 5868.82 upward at 10:18:00"
  std::string ticker;
  std::string level;           // the level's name
  float levelPrice = 0;
  float price = 0;             // the last price that raised it
  std::string levelPriceText;  // the two prices as the text writes them
  std::string priceText;
  AlertKind kind = AlertKind::Cross;
  AlertDirection direction = AlertDirection::Up;
  HostDateTime time = 0;     // the clock's time of the call that raised it
  HostDateTime barTime = 0;  // the start of the newest bar then, where the picture marks it
};

// "cross", "near"; "up", "down".
inline const char* kindName(AlertKind kind) { return kind == AlertKind::Cross ? "cross" : "near"; }
inline const char* directionName(AlertDirection direction) { return direction == AlertDirection::Up ? "up" : "down"; }

}  // namespace chart_tool::alerts

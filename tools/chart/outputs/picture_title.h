// What the chart picture says of the study in words: its title (the ticker
// as the study asks the service for it, the futures conversion in use, the
// package, the profile and the time), shorter forms of that title for a
// narrow picture, and the names of the levels for their tags. Read through the
// study's door: the ticker of its latest answered request, the contract of
// its latest conversion line, and what the door says of the study itself.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/picture/chart_picture.h"
#include "host/study_instance.h"

namespace chart_tool::outputs {

// The conversion the levels are drawn with, "ESZ6 ×1.0000 +7.38": the
// contract of the latest conversion the study took (`contractTaken`, from its
// log line), else the target it keeps as asked for, then the premiums in use.
// Empty while the study keeps no futures target.
std::string futuresConversionText(chart_host::StudyInstance& instance, const std::string& contractTaken);

// The parts of the title, each in a long and a short form.
struct TitleParts {
  std::string ticker;        // "SPX"
  std::string conversion;    // "ESZ6 ×1.0000 +7.38", or empty
  std::string contract;      // "ESZ6", or empty
  std::string package;       // "Classic"
  std::string greek;         // "0dte Gamma (State Package Only)"
  std::string dateTime;      // "2026-03-02 11:00"
};

// The title, then its shorter forms in a fixed order: the profile's note in
// brackets goes, then the date, the package, the time, the conversion's
// figures, the profile and the contract.
std::vector<std::string> titleForms(const TitleParts& parts);

class PictureDescription {
 public:
  // Fills the picture's title, its shorter forms and its levels' names as
  // the study stands after the call at `now`.
  void describe(chart_host::ChartPictureOptions& picture, chart_host::StudyInstance& instance,
                HostDateTime now);

 private:
  std::string requestTicker_;  // of the latest answered request
  std::string contractTaken_;  // of the latest conversion the study logged
  std::size_t linesRead_ = 0;  // of the study's log
};

}  // namespace chart_tool::outputs

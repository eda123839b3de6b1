// What a run writes once it has ended, while the study is still on the
// chart: the output series (--csv) and the drawings (--drawings). Their
// paths, and the picture's, are tried at the start, so one that cannot be
// written stops the run before it begins.
#pragma once

#include <optional>
#include <string>

#include "host/study_instance.h"
#include "tools/chart/command_line/run_plan.h"

namespace chart_tool::outputs {

class EndFiles {
 public:
  // False with the reason when a path cannot be written.
  bool open(const command_line::OutputSettings& settings, std::string& error);
  bool write(chart_host::StudyInstance& instance, std::string& error) const;

 private:
  std::string csvPath_;
  std::string drawingsPath_;
  std::optional<HostDateTime> from_;
};

}  // namespace chart_tool::outputs

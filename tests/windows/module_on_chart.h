// A study module loaded from its DLL and placed on a chart of one-minute bars
// from 10:00 New York time on Monday 2026-03-02, declared through its
// set-defaults pass unless asked not to.
#pragma once

#include <memory>
#include <string>

#include "host/chart.h"
#include "host/module_loader.h"
#include "host/scripted_transport.h"
#include "host/study_instance.h"

using namespace chart_host;

class ModuleOnChart {
 public:
  explicit ModuleOnChart(const char* path, bool declare = true);
  ~ModuleOnChart();
  ModuleOnChart(const ModuleOnChart&) = delete;
  ModuleOnChart& operator=(const ModuleOnChart&) = delete;

  bool loaded() const { return instance != nullptr; }
  // An ordinary call at 10:00 New York time, with the chart's clock there too.
  void call();
  // An ordinary call `seconds` after 10:00 that waits for an answer to any
  // request still outstanding (the transport bounds the wait).
  void callAndWait(int seconds, bool fullRecalculation = false);
  void setText(int index, const char* text);
  // How many log lines hold `text`, and how many lines are alerts.
  int logged(const std::string& text) const;
  int alerts() const;

  std::string error;
  std::unique_ptr<LoadedModule> module;
  Chart chart;
  std::unique_ptr<StudyInstance> instance;
};

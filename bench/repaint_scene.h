// Study instances ready to repaint the GEX "Both" family: each holds a GEX
// profile parsed from a different generated response of one size, on one
// chart whose price range covers every strike. Repaints cycle through them,
// as the parse benchmarks cycle through bodies: one profile sorted and drawn
// over and over is learnt by the branch predictor.
// Not thread-safe: built on first use by the measuring thread.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "data/gex_profile.h"
#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

inline constexpr int kRepaintProfiles = 8;

class RepaintScene {
 public:
  explicit RepaintScene(int strikes);
  // The last call of every instance, which releases its profiles.
  ~RepaintScene();
  RepaintScene(const RepaintScene&) = delete;
  RepaintScene& operator=(const RepaintScene&) = delete;

  // Empty when every instance holds its profile and a repaint draws every
  // bar of both series; otherwise what went wrong, and nothing is worth
  // measuring.
  const std::string& problem() const { return problem_; }
  std::size_t size() const { return instances_.size(); }
  const GexProfile& profile(std::size_t i) const { return *profiles_[i]; }

  // One repaint of instance `i` with no canvas: every graphics operation
  // does nothing, while prices still map to pixels.
  void repaint(std::size_t i);

 private:
  std::string setUp(int strikes);
  std::string checkDrawing();

  Chart chart_;
  std::vector<std::unique_ptr<StudyInstance>> instances_;
  std::vector<const GexProfile*> profiles_;
  std::string problem_;
};

// Built and checked once, outside any timing, then kept for the program's life.
RepaintScene& repaintScene(int strikes);

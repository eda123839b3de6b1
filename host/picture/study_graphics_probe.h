// What the study's own graphics put on the chart, learnt by repainting the
// study on a recording canvas, as the graphics callback keeps nothing and
// reports nothing: the columns its shapes take, and which of its colour
// inputs they are drawn in. A colour input is found out by giving it a colour
// nothing else has for one repaint, so two inputs of one colour stay apart
// and an input the study does not draw from (a series or dot switched off)
// is left out. The inputs are restored before this returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/recording_canvas.h"
#include "study/host_interface.h"

namespace chart_host {

class StudyInstance;

// How a colour shows: a profile bar, a dot of one of the three shapes, or a
// line across the bars (a level series).
enum class LegendMark { Bar, Diamond, Circle, Square, Line };

struct ColourSource {
  std::string name;  // the input's name without a trailing "Color"
  HostColor color;
  LegendMark mark;
};

struct StudyGraphics {
  // Columns [left, right) the shapes take; left == right when the study drew nothing.
  int32_t left = 0;
  int32_t right = 0;
  // In the order of the inputs.
  std::vector<ColourSource> colours;
  bool drewAnything() const { return left < right; }
};

StudyGraphics probeStudyGraphics(StudyInstance& instance);

// The columns [left, right) of the shapes recorded, left == right for none.
void shapeColumns(const std::vector<RecordedShape>& shapes, int32_t& left, int32_t& right);

}  // namespace chart_host

#include "host/picture/study_graphics_probe.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <set>

#include "host/study_instance.h"

namespace chart_host {

namespace {

std::vector<RecordedShape> repaint(StudyInstance& instance) {
  RecordingCanvas canvas;
  instance.paint(&canvas);
  return canvas.shapes();
}

bool isDrawn(ShapeKind kind) {
  return kind == ShapeKind::Rectangle || kind == ShapeKind::Polygon || kind == ShapeKind::Ellipse;
}

// Each drawn shape with the colour it shows: a polygon takes the brush
// selected before it.
template <typename Visit>
void forEachColouredShape(const std::vector<RecordedShape>& shapes, Visit visit) {
  HostColor brush = 0;
  for (const RecordedShape& shape : shapes) {
    if (shape.kind == ShapeKind::Brush) brush = shape.color & 0xFFFFFFu;
    if (!isDrawn(shape.kind)) continue;
    visit(shape, shape.kind == ShapeKind::Polygon ? brush : shape.color & 0xFFFFFFu);
  }
}

LegendMark markOf(const RecordedShape& shape) {
  if (shape.kind == ShapeKind::Polygon) return LegendMark::Diamond;
  if (shape.kind == ShapeKind::Ellipse) return LegendMark::Circle;
  const int64_t width = static_cast<int64_t>(shape.rect.right) - shape.rect.left;
  const int64_t height = static_cast<int64_t>(shape.rect.bottom) - shape.rect.top;
  return width == height ? LegendMark::Square : LegendMark::Bar;
}

std::optional<LegendMark> markDrawnIn(const std::vector<RecordedShape>& shapes, HostColor color) {
  std::optional<LegendMark> mark;
  forEachColouredShape(shapes, [&](const RecordedShape& shape, HostColor shown) {
    if (!mark && shown == color) mark = markOf(shape);
  });
  return mark;
}

// A colour neither the shapes nor any input has.
HostColor unusedColour(StudyInstance& instance, const std::vector<RecordedShape>& shapes) {
  std::set<HostColor> used;
  forEachColouredShape(shapes, [&](const RecordedShape&, HostColor shown) { used.insert(shown); });
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    const HostInput& input = instance.input(i);
    if (input.kind == kInputColor) used.insert(static_cast<HostColor>(input.intValue) & 0xFFFFFFu);
  }
  HostColor candidate = rgb(1, 2, 3);
  while (used.count(candidate) != 0) ++candidate;
  return candidate;
}

std::string sourceName(const std::string& inputName) {
  for (const std::string suffix : {" Color", " Colour"}) {
    if (inputName.size() > suffix.size() &&
        inputName.compare(inputName.size() - suffix.size(), suffix.size(), suffix) == 0) {
      return inputName.substr(0, inputName.size() - suffix.size());
    }
  }
  return inputName;
}

}  // namespace

void shapeColumns(const std::vector<RecordedShape>& shapes, int32_t& left, int32_t& right) {
  int64_t low = INT64_MAX;
  int64_t high = INT64_MIN;
  for (const RecordedShape& shape : shapes) {
    if (shape.kind == ShapeKind::Polygon) {
      for (const HostPoint& point : shape.points) {
        low = std::min<int64_t>(low, point.x);
        high = std::max<int64_t>(high, static_cast<int64_t>(point.x) + 1);
      }
    } else if (shape.kind == ShapeKind::Rectangle || shape.kind == ShapeKind::Ellipse) {
      low = std::min<int64_t>(low, shape.rect.left);
      high = std::max<int64_t>(high, static_cast<int64_t>(shape.rect.right) + (shape.kind == ShapeKind::Ellipse ? 1 : 0));
    }
  }
  if (low >= high) {
    left = right = 0;
    return;
  }
  left = static_cast<int32_t>(std::clamp<int64_t>(low, INT32_MIN, INT32_MAX));
  right = static_cast<int32_t>(std::clamp<int64_t>(high, INT32_MIN, INT32_MAX));
}

StudyGraphics probeStudyGraphics(StudyInstance& instance) {
  StudyGraphics graphics;
  const std::vector<RecordedShape> shapes = repaint(instance);
  shapeColumns(shapes, graphics.left, graphics.right);
  if (!graphics.drewAnything()) return graphics;

  const HostColor probe = unusedColour(instance, shapes);
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    HostInput& input = instance.input(i);
    if (input.kind != kInputColor) continue;
    const int32_t kept = input.intValue;
    input.intValue = static_cast<int32_t>(probe);
    const std::optional<LegendMark> mark = markDrawnIn(repaint(instance), probe);
    input.intValue = kept;
    if (mark) {
      graphics.colours.push_back(
          {sourceName(hostStringText(input.name)), static_cast<HostColor>(kept) & 0xFFFFFFu, *mark});
    }
  }
  return graphics;
}

}  // namespace chart_host

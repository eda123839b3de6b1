#include "render/level_line.h"

#include <optional>

#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/scoped_release.h"

namespace tarvio {

namespace {

constexpr int32_t kHostModeLevelLine = 3;

enum LabelFormat : int32_t { kLabelNameOnly = 0, kLabelValueOnly = 1 };

int16_t lineStyleCode(int32_t styleIndex) {
  return (styleIndex == 1 || styleIndex == 2) ? static_cast<int16_t>(styleIndex) : int16_t{0};
}

void writeLabel(HostDrawingRecord& record, const char* labelText, float price,
                const SharedLevelSettings& shared) {
  if (labelText == nullptr) labelText = "";
  const double value = price;
  switch (shared.formatIndex) {
    case kLabelNameOnly:
      formatHostString(record.labelText, "%s", labelText);
      break;
    case kLabelValueOnly:
      formatHostString(record.labelText, "%.2f", value);
      break;
    default:
      formatHostString(record.labelText, "%s: %.2f", labelText, value);
      break;
  }
  record.fontSize = shared.fontSize;
  record.transparentLabelBackground = shared.transparentBackground ? 1 : 0;
  record.labelAlignment = labelAlignmentFlags(shared.horizontalIndex, shared.verticalIndex);
}

}  // namespace

int32_t labelAlignmentFlags(int32_t horizontalIndex, int32_t verticalIndex) {
  int32_t flags = 0;
  if (horizontalIndex == 2) {
    flags = 1;
  } else if (horizontalIndex != 0) {
    flags = 2;
  }
  if (verticalIndex == 1) {
    flags += 8;
  } else if (verticalIndex == 2) {
    flags += 4;
  }
  return flags;
}

void drawLevelLine(HostStudyInterface& sc, int32_t& nextDrawingKey, float level,
                   const LevelLineLook& look, const Premiums& premiums,
                   const SharedLevelSettings& shared) {
  HostCalls host(sc);
  const int32_t key = nextDrawingKey;
  ++nextDrawingKey;
  const int32_t kept = host.persistentInt(key);

  // A level of 0 is one the snapshot does not have; one that is no finite
  // price is absent too.
  const std::optional<float> price =
      level != 0.0f ? chartPrice(level, premiums) : std::nullopt;
  if (!price || look.width <= 0 || !look.shown) {
    if (kept != 0) {
      host.deleteDrawing(sc.chartNumber, kept);
      host.setPersistentInt(key, 0);
    }
    return;
  }

  HostDrawingRecord record = makeHostDrawingRecord();
  // The host copies the label; ours goes when the line is placed or a host
  // operation throws.
  const ScopedRelease label(record.labelText);
  record.chartNumber = sc.chartNumber;
  record.drawingKind = kDrawingKindHorizontalLine;
  record.hostMode = kHostModeLevelLine;
  if (kept != 0) record.lineNumber = kept;
  if (shared.copyToOtherCharts) {
    record.copyToOtherCharts = 1;
    record.copySource = 0;
    record.copyFlag = 1;
  }
  record.price = *price;
  record.color = look.color;
  record.lineWidth = static_cast<int16_t>(look.width);
  record.lineStyle = lineStyleCode(look.styleIndex);
  if (shared.labelsShown) writeLabel(record, look.labelText, record.price, shared);

  host.addDrawing(record);

  const int32_t lineNumber = record.lineNumber;
  if (lineNumber != 0) {
    host.setPersistentInt(key, lineNumber);
    if (key > host.persistentInt(kLastDrawingKeyKey)) {
      host.setPersistentInt(kLastDrawingKeyKey, key);
    }
  }
}

}  // namespace tarvio

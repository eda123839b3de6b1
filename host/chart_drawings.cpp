#include "host/chart_drawings.h"

#include <algorithm>

namespace chart_host {

namespace {

ChartDrawing storedCopy(const HostDrawingRecord& record, int32_t lineNumber, int32_t owner) {
  ChartDrawing drawing{record, hostStringText(record.labelText)};
  drawing.record.labelText = HostString{};
  drawing.record.lineNumber = lineNumber;
  drawing.record.ownerStudyId = owner;
  return drawing;
}

}  // namespace

int32_t ChartDrawings::add(HostDrawingRecord& record, int32_t ownerStudyId) {
  if (record.lineNumber != 0) {
    for (ChartDrawing& drawing : drawings_) {
      if (drawing.record.lineNumber != record.lineNumber) continue;
      drawing = storedCopy(record, record.lineNumber, ownerStudyId);
      return 1;
    }
  }
  const int32_t lineNumber = ++lastLineNumber_;
  drawings_.push_back(storedCopy(record, lineNumber, ownerStudyId));
  record.lineNumber = lineNumber;
  record.ownerStudyId = ownerStudyId;
  return 1;
}

bool ChartDrawings::copyOut(int32_t index, HostDrawingRecord& record) const {
  if (index < 0 || static_cast<std::size_t>(index) >= drawings_.size()) return false;
  const ChartDrawing& drawing = drawings_[static_cast<std::size_t>(index)];
  HostString label = record.labelText;
  record = drawing.record;
  record.labelText = label;
  assignHostString(record.labelText, drawing.label.c_str());
  return true;
}

bool ChartDrawings::remove(int32_t lineNumber) {
  auto found = std::find_if(drawings_.begin(), drawings_.end(), [&](const ChartDrawing& d) {
    return d.record.lineNumber == lineNumber;
  });
  if (found == drawings_.end()) return false;
  drawings_.erase(found);
  return true;
}

int32_t ChartDrawings::removeOwnedBy(int32_t ownerStudyId) {
  const auto before = drawings_.size();
  std::erase_if(drawings_, [&](const ChartDrawing& d) { return d.record.ownerStudyId == ownerStudyId; });
  return static_cast<int32_t>(before - drawings_.size());
}

const ChartDrawing* ChartDrawings::find(int32_t lineNumber) const {
  for (const ChartDrawing& drawing : drawings_) {
    if (drawing.record.lineNumber == lineNumber) return &drawing;
  }
  return nullptr;
}

}  // namespace chart_host

#include "host/host_operations.h"

#include <string>
#include <utility>

#include "host/call_context.h"
#include "host/canvas.h"
#include "host/header_line.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {

StudyInstance* instance() { return currentCallContext().instance; }
Canvas* canvas() { return currentCallContext().canvas; }

// What a persistent look-up outside a study call reaches: values of nobody,
// emptied on every such look-up.
struct OrphanValues {
  int32_t intValue = 0;
  int64_t int64Value = 0;
  void* pointerValue = nullptr;
  HostString stringValue{};
};
OrphanValues& orphan() {
  thread_local OrphanValues values;
  releaseHostString(values.stringValue);
  values = OrphanValues{};
  return values;
}

void addMessageToLog(const HostString& text, int32_t alert) {
  if (StudyInstance* study = instance()) study->log().add(hostStringText(text), alert != 0);
}

int32_t& persistentInt(int32_t key) {
  if (StudyInstance* study = instance()) return study->store().intValue(key);
  return orphan().intValue;
}

int64_t& persistentInt64(int32_t key) {
  if (StudyInstance* study = instance()) return study->store().int64Value(key);
  return orphan().int64Value;
}

void*& persistentPointer(int32_t key) {
  if (StudyInstance* study = instance()) return study->store().pointerValue(key);
  return orphan().pointerValue;
}

HostString& persistentString(int32_t key) {
  if (StudyInstance* study = instance()) return study->store().stringValue(key);
  return orphan().stringValue;
}

void setPersistentInt(int32_t key, int32_t value) { persistentInt(key) = value; }

void setPersistentPointer(int32_t key, void* value) { persistentPointer(key) = value; }

// Copies what the study hands over; it releases its texts once the call returns.
bool copyRequest(const HostString& url, const HostString& body, const HttpHeader* headers,
                 uint32_t headerCount, HttpRequest& request) {
  if (headers == nullptr && headerCount > 0) return false;
  request.url = hostStringText(url);
  if (request.url.empty() || !fitsOnOneLine(request.url) ||
      request.url.find_first_of(" \t") != std::string::npos) {
    return false;
  }
  request.body = hostStringText(body);
  for (uint32_t i = 0; i < headerCount; ++i) {
    std::string name = hostStringText(headers[i].name);
    std::string value = hostStringText(headers[i].value);
    if (!isHeaderName(name) || !fitsOnOneLine(value)) return false;
    request.headers.emplace_back(std::move(name), std::move(value));
  }
  return true;
}

// The request's id, or 0 when it is refused: outside a call, unreadable or
// unsafe texts, no transport, or a transport that turned it down.
int32_t makeHttpRequest(const HostString& url, const HostString& body, const HttpHeader* headers,
                        uint32_t headerCount) {
  StudyInstance* study = instance();
  if (study == nullptr) return 0;
  // Nothing may be thrown back into the module.
  try {
    HttpRequest request;
    if (!copyRequest(url, body, headers, headerCount, request)) return 0;
    return study->http().submit(request);
  } catch (...) {
    return 0;
  }
}

int32_t addDrawing(HostDrawingRecord& record) {
  StudyInstance* study = instance();
  if (study == nullptr) return 0;
  record.chartNumber = study->chart().chartNumber();
  return study->chart().drawings().add(record, study->studyId());
}

int32_t getChartDrawing(int32_t chartNumber, int32_t, HostDrawingRecord& record, int32_t index) {
  StudyInstance* study = instance();
  if (study == nullptr || chartNumber != study->chart().chartNumber()) return 0;
  return study->chart().drawings().copyOut(index, record) ? 1 : 0;
}

int32_t deleteDrawing(int32_t chartNumber, int32_t lineNumber) {
  StudyInstance* study = instance();
  if (study == nullptr || chartNumber != study->chart().chartNumber()) return 0;
  return study->chart().drawings().remove(lineNumber) ? 1 : 0;
}

int32_t deleteStudyDrawings(int32_t chartNumber, int32_t studyId, int32_t) {
  StudyInstance* study = instance();
  if (study == nullptr || chartNumber != study->chart().chartNumber()) return 0;
  return study->chart().drawings().removeOwnedBy(studyId == -1 ? study->studyId() : studyId);
}

// A zone text the host cannot read leaves the time unconverted.
void convertToTimeZone(HostDateTime& out, const HostDateTime& in, const char* zoneText) {
  const HostDateTime source = in;
  out = source;
  if (StudyInstance* study = instance()) study->chart().convertToZone(source, zoneText ? zoneText : "", out);
}

void convertFromTimeZone(HostDateTime& out, const HostDateTime& in, const char* zoneText) {
  const HostDateTime source = in;
  out = source;
  if (StudyInstance* study = instance()) study->chart().convertFromZone(source, zoneText ? zoneText : "", out);
}

int32_t dateTimeToBarIndex(int32_t, HostDateTime time) {
  StudyInstance* study = instance();
  return study != nullptr ? study->chart().dateTimeToBarIndex(time) : 0;
}

int32_t priceToY(float price, int32_t) {
  StudyInstance* study = instance();
  return study != nullptr ? study->chart().priceToY(price) : 0;
}

void selectBrush(const HostFillRecord& fill) {
  if (Canvas* target = canvas()) target->selectBrush(fill);
}

template <int32_t Which>
void resetGraphics() {
  if (Canvas* target = canvas()) target->resetGraphicsState(Which);
}

void fillRectangle(const HostRect& rect, const HostColor& color) {
  if (Canvas* target = canvas()) target->fillRectangle(rect, color);
}

void drawPolygon(const HostPoint* points, int32_t count) {
  if (points == nullptr || count <= 0) return;
  if (Canvas* target = canvas()) target->drawPolygon(points, count);
}

void drawEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom, const HostFillRecord& fill) {
  if (Canvas* target = canvas()) target->drawEllipse(HostRect{left, top, right, bottom}, fill);
}

}  // namespace

HostOperations makeHostOperations() {
  HostOperations ops{};
  ops.HostAddMessageToLog = addMessageToLog;
  ops.HostPersistentInt = persistentInt;
  ops.HostPersistentInt64 = persistentInt64;
  ops.HostPersistentPointer = persistentPointer;
  ops.HostPersistentString = persistentString;
  ops.HostSetPersistentInt = setPersistentInt;
  ops.HostSetPersistentPointer = setPersistentPointer;
  ops.HostMakeHttpRequest = makeHttpRequest;
  ops.HostAddDrawing = addDrawing;
  ops.HostGetChartDrawing = getChartDrawing;
  ops.HostDeleteDrawing = deleteDrawing;
  ops.HostDeleteStudyDrawings = deleteStudyDrawings;
  ops.HostConvertToTimeZone = convertToTimeZone;
  ops.HostConvertFromTimeZone = convertFromTimeZone;
  ops.HostDateTimeToBarIndex = dateTimeToBarIndex;
  ops.HostPriceToY = priceToY;
  ops.HostSelectBrush = selectBrush;
  ops.HostGraphicsReset1 = resetGraphics<1>;
  ops.HostGraphicsReset2 = resetGraphics<2>;
  ops.HostGraphicsReset3 = resetGraphics<3>;
  ops.HostGraphicsReset4 = resetGraphics<4>;
  ops.HostGraphicsReset5 = resetGraphics<5>;
  ops.HostGraphicsReset6 = resetGraphics<6>;
  ops.HostFillRectangle = fillRectangle;
  ops.HostDrawPolygon = drawPolygon;
  ops.HostDrawEllipse = drawEllipse;
  return ops;
}

}  // namespace chart_host

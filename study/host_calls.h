// The host's operations as ordinary typed calls. A HostCalls is made on the
// stack around the record of the call in progress, wherever an operation is
// needed:
//
//   HostCalls host(sc);
//   host.setPersistentInt(kRequestStateKey, kRequestDue);
//
// One rule for an operation the host left out (a null pointer in the record):
// the call does nothing and answers the neutral value, that is 0, null, an
// empty text, or the time it was given, unconverted. A persistent store the
// host left out hands back a scratch value, neutral again on every look-up
// and shared by all keys: for numbers and pointers one of this HostCalls,
// living as long as it does; for texts the host's spare input text (what an
// index into an empty input array reaches), which the host releases, so a
// text written there is never leaked.
//
// Every method is inline: with the operation present it is the one indirect
// call through the record. Like the record, it belongs to the call in
// progress and is not thread-safe.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

class HostCalls {
 public:
  explicit HostCalls(HostStudyInterface& sc) : ops_(sc.ops), spareText_(sc.spareInput.textValue) {}
  HostCalls(const HostCalls&) = delete;
  HostCalls& operator=(const HostCalls&) = delete;

  void addMessageToLog(const HostString& text, int32_t alert) {
    callIfPresent(ops_.HostAddMessageToLog, text, alert);
  }

  int32_t& persistentInt(int32_t key) { return storeOrScratch(ops_.HostPersistentInt, key, scratchInt_); }
  int64_t& persistentInt64(int32_t key) {
    return storeOrScratch(ops_.HostPersistentInt64, key, scratchInt64_);
  }
  void*& persistentPointer(int32_t key) {
    return storeOrScratch(ops_.HostPersistentPointer, key, scratchPointer_);
  }
  HostString& persistentString(int32_t key) {
    return storeOrScratch(ops_.HostPersistentString, key, spareText_);
  }
  void setPersistentInt(int32_t key, int32_t value) { callIfPresent(ops_.HostSetPersistentInt, key, value); }
  void setPersistentPointer(int32_t key, void* value) {
    callIfPresent(ops_.HostSetPersistentPointer, key, value);
  }

  int32_t makeHttpRequest(const HostString& url, const HostString& body, const HttpHeader* headers,
                          uint32_t headerCount) {
    return callOrZero(ops_.HostMakeHttpRequest, url, body, headers, headerCount);
  }

  int32_t addDrawing(HostDrawingRecord& record) { return callOrZero(ops_.HostAddDrawing, record); }
  int32_t getChartDrawing(int32_t chartNumber, int32_t drawingKind, HostDrawingRecord& record,
                          int32_t drawingIndex) {
    return callOrZero(ops_.HostGetChartDrawing, chartNumber, drawingKind, record, drawingIndex);
  }
  int32_t deleteDrawing(int32_t chartNumber, int32_t lineNumber) {
    return callOrZero(ops_.HostDeleteDrawing, chartNumber, lineNumber);
  }
  int32_t deleteStudyDrawings(int32_t chartNumber, int32_t studyId, int32_t flags) {
    return callOrZero(ops_.HostDeleteStudyDrawings, chartNumber, studyId, flags);
  }

  void convertToTimeZone(HostDateTime& out, const HostDateTime& in, const char* zoneText) {
    convertOrKeep(ops_.HostConvertToTimeZone, out, in, zoneText);
  }
  void convertFromTimeZone(HostDateTime& out, const HostDateTime& in, const char* zoneText) {
    convertOrKeep(ops_.HostConvertFromTimeZone, out, in, zoneText);
  }
  int32_t dateTimeToBarIndex(int32_t chartNumber, HostDateTime time) {
    return callOrZero(ops_.HostDateTimeToBarIndex, chartNumber, time);
  }

  // Graphics, inside the graphics callback.
  int32_t priceToY(float price, int32_t region) { return callOrZero(ops_.HostPriceToY, price, region); }
  void selectBrush(const HostFillRecord& fill) { callIfPresent(ops_.HostSelectBrush, fill); }
  void graphicsReset1() { callIfPresent(ops_.HostGraphicsReset1); }
  void graphicsReset2() { callIfPresent(ops_.HostGraphicsReset2); }
  void graphicsReset3() { callIfPresent(ops_.HostGraphicsReset3); }
  void graphicsReset4() { callIfPresent(ops_.HostGraphicsReset4); }
  void graphicsReset5() { callIfPresent(ops_.HostGraphicsReset5); }
  void graphicsReset6() { callIfPresent(ops_.HostGraphicsReset6); }
  void fillRectangle(const HostRect& rect, const HostColor& color) {
    callIfPresent(ops_.HostFillRectangle, rect, color);
  }
  void drawPolygon(const HostPoint* points, int32_t count) { callIfPresent(ops_.HostDrawPolygon, points, count); }
  void drawEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom, const HostFillRecord& fill) {
    callIfPresent(ops_.HostDrawEllipse, left, top, right, bottom, fill);
  }

 private:
  template <typename... Params, typename... Args>
  static void callIfPresent(void (*operation)(Params...), Args&&... args) {
    if (operation != nullptr) operation(static_cast<Args&&>(args)...);
  }

  template <typename... Params, typename... Args>
  static int32_t callOrZero(int32_t (*operation)(Params...), Args&&... args) {
    return operation != nullptr ? operation(static_cast<Args&&>(args)...) : 0;
  }

  template <typename Value>
  static Value& storeOrScratch(Value& (*store)(int32_t), int32_t key, Value& scratch) {
    if (store != nullptr) return store(key);
    makeNeutral(scratch);
    return scratch;
  }
  template <typename Value>
  static void makeNeutral(Value& value) {
    value = Value{};
  }
  static void makeNeutral(HostString& text) {
    releaseHostString(text);
    text = HostString{};
  }

  using Conversion = void (*)(HostDateTime&, const HostDateTime&, const char*);
  static void convertOrKeep(Conversion conversion, HostDateTime& out, const HostDateTime& in,
                            const char* zoneText) {
    if (conversion != nullptr) {
      conversion(out, in, zoneText);
    } else {
      out = in;
    }
  }

  const HostOperations& ops_;
  HostString& spareText_;
  // Set only when a store is missing, so that around present operations a
  // HostCalls is nothing but the operations it calls.
  int32_t scratchInt_;
  int64_t scratchInt64_;
  void* scratchPointer_;
};

}  // namespace tarvio

// The boundary between the charting host and the study module.
//
// Everything that crosses between the two sides is declared here: the
// HostStudyInterface record the host hands to every study call, and the plain
// records it carries. Only standard-layout structs and plain function pointers
// cross; no C++ object with a vtable and no standard-library type does.
// The record only ever grows at its end, so builds of either side keep working
// with later builds of the other.
//
// Text buffers held by HostString values come from the one process heap
// (process_heap.h) on both sides, so either side may release what the other
// allocated.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <type_traits>

// The interface version a module reports through scdll_DLLVersion; a host
// refuses a module that reports another.
inline constexpr int32_t kHostInterfaceVersion = 2911;

// Signed microseconds since 1899-12-30 00:00 in the chart's time zone.
using HostDateTime = int64_t;
inline constexpr HostDateTime kMicrosecondsPerDay = 86400000000LL;
inline constexpr HostDateTime kMicrosecondsPerSecond = 1000000LL;
inline constexpr HostDateTime kMicrosecondsPerMinute = 60 * kMicrosecondsPerSecond;
inline constexpr HostDateTime kMicrosecondsPerHour = 60 * kMicrosecondsPerMinute;

// 24-bit colour 0x00BBGGRR, red in the low byte.
using HostColor = uint32_t;

constexpr HostColor rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

// Owned text with a changed flag. An empty value has no buffer (text null,
// length 0). A non-empty owned text sits in a zero-filled process-heap block of
// length + 1 bytes.
struct HostString {
  char* text;
  uint32_t length;
  uint8_t owned;
  uint8_t changed;
};

// Assigns text following the host's rules: an absent or empty text empties the
// value (a no-op when it already is empty); any other text is copied into a
// fresh process-heap block. The changed flag is set whenever the value changed.
void assignHostString(HostString& target, const char* text);
void assignHostString(HostString& target, const HostString& source);
// Releases an owned buffer and leaves the value empty.
void releaseHostString(HostString& value);
// printf-style formatting into a fresh process-heap block; the target is empty
// when the format is absent, the text too long or the block cannot be had.
void formatHostString(HostString& target, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
void formatHostStringList(HostString& target, const char* format, va_list args);

// The text of a value, never null: the empty value reads as "".
inline const char* hostStringText(const HostString& value) {
  return value.text != nullptr ? value.text : "";
}

// Kinds of study input. The value lives in the field named beside the kind.
enum HostInputKind : int32_t {
  kInputNone = 0,       // not declared
  kInputList = 1,       // intValue: zero-based option index
  kInputText = 2,       // textValue: owned text, or no text
  kInputFloat = 3,      // floatValue
  kInputInteger = 4,    // intValue
  kInputYesNo = 5,      // intValue: 0 or 1
  kInputColor = 6,      // intValue: HostColor
  kInputTimeOfDay = 7,  // dateTimeValue: day fraction (0.5 = 12:00)
  kInputTimeZone = 8,   // intValue: index into the time-zone table
  kInputDate = 9,       // dateTimeValue: days since 1899-12-30
  kInputDateTime = 10,  // dateTimeValue: days; timeZoneIndex may carry a zone
};

struct HostInput {
  HostString name;
  int32_t kind;  // HostInputKind
  int32_t intValue;
  float floatValue;
  double dateTimeValue;
  int32_t timeZoneIndex;  // date-time kind only; -1 when none is carried
  HostString textValue;
  HostString listOptions;  // options separated by ';'
  int32_t displayPosition;  // 1.. for the settings list; 0 = not listed
};

// One output series: attributes set by the study, one value and one colour per
// bar owned by the host (valueCount == colorCount == barCount).
struct HostSubgraph {
  HostString name;
  HostColor primaryColor;
  int32_t drawStyle;
  int32_t lineWidth;
  int32_t lineAttribute;
  float* values;
  int32_t valueCount;
  HostColor* colors;
  int32_t colorCount;
  // What an index into an empty array reads and writes.
  float spareValue;
  HostColor spareColor;
};

struct HttpHeader {
  HostString name;
  HostString value;
};

// A chart drawing as the host stores it. A record with lineNumber 0 is added
// as a new drawing; one that carries a line number replaces that drawing. The
// host writes the line number back.
struct HostDrawingRecord {
  int32_t chartNumber;
  int32_t lineNumber;
  float price;
  HostColor color;
  int32_t fontSize;
  HostString labelText;
  int32_t drawingKind;  // 3: horizontal line at price
  int16_t lineWidth;
  int16_t lineStyle;  // 0 solid, 1 dash, 2 dot
  int32_t hostMode;
  int32_t labelAlignment;  // 0 left, 1 centre, 2 right; +8 bottom, +4 middle
  int32_t transparentLabelBackground;
  int32_t copyToOtherCharts;
  int32_t copySource;
  int16_t copyFlag;
  int16_t reserved;
  int32_t ownerStudyId;  // set by the host: the study instance that placed it
};

// A record in the host's initial state.
inline HostDrawingRecord makeHostDrawingRecord() {
  HostDrawingRecord record{};
  record.fontSize = 10;
  record.lineWidth = 1;
  record.copySource = -1;
  return record;
}

inline constexpr int32_t kDrawingKindHorizontalLine = 3;

// Fill description for polygons and ellipses: kind 1 is a solid fill.
struct HostFillRecord {
  int32_t kind;
  int32_t color;
  int32_t reserved1;
  int32_t reserved2;
  friend bool operator==(const HostFillRecord&, const HostFillRecord&) = default;
};

struct HostRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  friend bool operator==(const HostRect&, const HostRect&) = default;
};

struct HostPoint {
  int32_t x;
  int32_t y;
  friend bool operator==(const HostPoint&, const HostPoint&) = default;
};

struct HostStudyInterface;
using HostGraphicsCallback = void (*)(void* windowHandle, void* deviceContext,
                                      HostStudyInterface& sc);

// The host's operations. They are plain functions: the host knows from its own
// call in progress which chart and study instance they act on, so they may be
// used only during a call (the study function or its graphics callback). The
// host calls one study instance from one thread at a time, never two calls of
// it at once; an HTTP answer that arrives meanwhile waits for a later call.
// Texts handed to an operation stay the caller's: the host copies what it
// keeps before the operation returns.
struct HostOperations {
  void (*HostAddMessageToLog)(const HostString& text, int32_t alert);
  int32_t& (*HostPersistentInt)(int32_t key);
  int64_t& (*HostPersistentInt64)(int32_t key);
  void*& (*HostPersistentPointer)(int32_t key);
  HostString& (*HostPersistentString)(int32_t key);
  void (*HostSetPersistentInt)(int32_t key, int32_t value);
  void (*HostSetPersistentPointer)(int32_t key, void* value);
  // The request's id, or 0 when it was refused. The host copies the URL, the
  // body and the headers before it returns; the caller may release them then.
  int32_t (*HostMakeHttpRequest)(const HostString& url, const HostString& body,
                                 const HttpHeader* headers, uint32_t headerCount);
  // The host copies the label text; the record's label stays the caller's to
  // release.
  int32_t (*HostAddDrawing)(HostDrawingRecord& record);
  // Copies a chart drawing out; above 0 when one was copied. The label is
  // assigned into record.labelText (what it held before is released), and the
  // caller owns it from then on.
  int32_t (*HostGetChartDrawing)(int32_t chartNumber, int32_t drawingKind,
                                 HostDrawingRecord& record, int32_t drawingIndex);
  int32_t (*HostDeleteDrawing)(int32_t chartNumber, int32_t lineNumber);
  // studyId -1: the calling study.
  int32_t (*HostDeleteStudyDrawings)(int32_t chartNumber, int32_t studyId, int32_t flags);
  void (*HostConvertToTimeZone)(HostDateTime& out, const HostDateTime& in,
                                const char* zoneText);
  void (*HostConvertFromTimeZone)(HostDateTime& out, const HostDateTime& in,
                                  const char* zoneText);
  int32_t (*HostDateTimeToBarIndex)(int32_t chartNumber, HostDateTime time);
  // Graphics operations, usable inside the graphics callback.
  int32_t (*HostPriceToY)(float price, int32_t region);
  void (*HostSelectBrush)(const HostFillRecord& fill);
  void (*HostGraphicsReset1)();
  void (*HostGraphicsReset2)();
  void (*HostGraphicsReset3)();
  void (*HostGraphicsReset4)();
  void (*HostGraphicsReset5)();
  void (*HostGraphicsReset6)();
  void (*HostFillRectangle)(const HostRect& rect, const HostColor& color);
  void (*HostDrawPolygon)(const HostPoint* points, int32_t count);
  void (*HostDrawEllipse)(int32_t left, int32_t top, int32_t right, int32_t bottom,
                          const HostFillRecord& fill);
};

struct HostStudyInterface {
  // Filled by the host.
  uint32_t recordSize;  // sizeof(HostStudyInterface) as the host built it
  int32_t hostVersion;
  int32_t chartNumber;
  int32_t barCount;
  const HostDateTime* barDateTimes;  // barCount entries
  int32_t currentBarIndex;
  int32_t updateStartIndex;
  HostDateTime currentDateTime;
  HostDateTime clockDateTime;
  HostDateTime alternateClockDateTime;
  int32_t useAlternateClock;
  float tickSize;
  int32_t plotLeft;
  int32_t plotRight;
  int32_t plotTop;
  int32_t plotBottom;
  HostString httpResponseText;
  int32_t httpResponseRequestId;
  int32_t isSetDefaultsPass;
  int32_t isLastCall;
  int32_t isBeingRemoved;
  int32_t isFullRecalculation;
  HostInput* inputs;
  int32_t inputCount;
  HostSubgraph* subgraphs;
  int32_t subgraphCount;
  // Set by the study.
  HostString studyName;
  int32_t graphRegion;
  int32_t loopPerBar;        // the host's per-bar looping; this study uses 0
  int32_t updateEveryTick;   // the host's continuous updating; this study uses 1
  HostGraphicsCallback graphicsCallback;
  int32_t earliestChangedBarIndex;
  // What an index into an empty input or subgraph array reaches.
  HostInput spareInput;
  HostSubgraph spareSubgraph;
  // The host's operations, last: a new operation is added at the end of
  // HostOperations, so it moves no field of a build that does not know it.
  HostOperations ops;
};

static_assert(std::is_standard_layout_v<HostString>);
static_assert(std::is_standard_layout_v<HostInput>);
static_assert(std::is_standard_layout_v<HostSubgraph>);
static_assert(std::is_standard_layout_v<HostDrawingRecord>);
static_assert(std::is_standard_layout_v<HostStudyInterface>);
static_assert(std::is_trivially_copyable_v<HostStudyInterface>);

// Host arrays clamp an index into 0..count-1; an empty array yields its spare
// element.
template <typename T>
T& clampedElement(T* items, int32_t count, int32_t index, T& spare) {
  if (items == nullptr || count <= 0) return spare;
  if (index < 0) index = 0;
  if (index >= count) index = count - 1;
  return items[index];
}

inline HostInput& inputAt(HostStudyInterface& sc, int32_t index) {
  return clampedElement(sc.inputs, sc.inputCount, index, sc.spareInput);
}

inline HostSubgraph& subgraphAt(HostStudyInterface& sc, int32_t index) {
  return clampedElement(sc.subgraphs, sc.subgraphCount, index, sc.spareSubgraph);
}

inline float& subgraphValueAt(HostSubgraph& subgraph, int32_t bar) {
  return clampedElement(subgraph.values, subgraph.valueCount, bar, subgraph.spareValue);
}

inline HostColor& subgraphColorAt(HostSubgraph& subgraph, int32_t bar) {
  return clampedElement(subgraph.colors, subgraph.colorCount, bar, subgraph.spareColor);
}

inline HostDateTime barDateTimeAt(const HostStudyInterface& sc, int32_t bar) {
  if (sc.barDateTimes == nullptr || sc.barCount <= 0) return 0;
  if (bar < 0) bar = 0;
  if (bar >= sc.barCount) bar = sc.barCount - 1;
  return sc.barDateTimes[bar];
}

// The module's exports.
extern "C" {
using ModuleNameFunction = const char* (*)();
using ModuleVersionFunction = int32_t (*)();
using StudyFunction = void (*)(HostStudyInterface& sc);
}
inline constexpr const char* kModuleNameExport = "scdll_DLLName";
inline constexpr const char* kModuleVersionExport = "scdll_DLLVersion";
inline constexpr const char* kStudyFunctionExport = "scsf_TarvioLevels";

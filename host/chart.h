// One chart of the replacement host: its bars, tick size, plotting area,
// linear price scale, time zone and drawings. Study instances placed on it
// read these through their host record. Not thread-safe.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/chart_drawings.h"
#include "host/zone_text.h"
#include "study/host_interface.h"

namespace chart_host {

struct Bar {
  HostDateTime dateTime;
  float open;
  float high;
  float low;
  float close;
  float volume;
  bool operator==(const Bar&) const = default;
};

struct PlotArea {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

class Chart {
 public:
  explicit Chart(int32_t chartNumber = 1);

  int32_t chartNumber() const { return chartNumber_; }

  // The chart's own zone, as a zone text; New York unless set. False with a
  // message when the text cannot be read (the zone is then unchanged).
  bool setZone(std::string_view zoneText, std::string* error = nullptr);
  const std::string& zoneText() const { return zoneText_; }
  // Chart time into the zone a text names, and back. The empty text names
  // the chart's own zone. False when the text cannot be read.
  bool convertToZone(HostDateTime chartTime, std::string_view zoneText, HostDateTime& out) const;
  bool convertFromZone(HostDateTime zoneTime, std::string_view zoneText, HostDateTime& out) const;

  void appendBar(const Bar& bar);
  // The newest bar as it forms: the same start, its prices and volume since.
  void replaceLastBar(const Bar& bar);
  void clearBars();
  const std::vector<Bar>& bars() const { return bars_; }
  const std::vector<HostDateTime>& barDateTimes() const { return barDateTimes_; }
  // The bar a time falls in: the last bar starting at or before it, 0 when
  // the time is before the first bar or there are none.
  int32_t dateTimeToBarIndex(HostDateTime time) const;

  float tickSize() const { return tickSize_; }
  void setTickSize(float tickSize) { tickSize_ = tickSize; }

  const PlotArea& plotArea() const { return plotArea_; }
  void setPlotArea(const PlotArea& area) { plotArea_ = area; }
  // The price range shown from the top to the bottom of the plotting area.
  void setPriceRange(float lowPrice, float highPrice);
  float lowPrice() const { return lowPrice_; }
  float highPrice() const { return highPrice_; }
  // Pixel y of a price (y grows downward), saturated to the int32 range.
  int32_t priceToY(float price) const;
  float yToPrice(int32_t y) const;

  ChartDrawings& drawings() { return drawings_; }
  const ChartDrawings& drawings() const { return drawings_; }

 private:
  const ZoneText* zoneFor(std::string_view zoneText) const;

  int32_t chartNumber_;
  std::string zoneText_;
  ZoneText zone_;
  mutable std::map<std::string, std::optional<ZoneText>, std::less<>> zoneCache_;
  std::vector<Bar> bars_;
  std::vector<HostDateTime> barDateTimes_;
  float tickSize_ = 0.25f;
  PlotArea plotArea_{0, 0, 1000, 600};
  float lowPrice_ = 0.0f;
  float highPrice_ = 1.0f;
  ChartDrawings drawings_;
};

// A chart shows New York time unless told otherwise.
inline constexpr const char* kDefaultChartZoneText = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";

}  // namespace chart_host

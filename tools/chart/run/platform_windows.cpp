#include "tools/chart/run/platform.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "tools/chart/command_line/run_plan.h"
#include "host/picture/chart_picture.h"
#include "host/study_instance.h"
#include "host/winhttp_transport.h"
#include "tools/support/utf8_path.h"

namespace chart_tool::run {

using namespace chart_tool::command_line;

using namespace chart_host;

std::string moduleBesideProgram() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring beside(self, length);
  beside = beside.substr(0, beside.find_last_of(L"\\/") + 1) + L"tarvio_v4_graphics_64.dll";
  return support::utf8Path(beside);
}

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

std::shared_ptr<HttpTransport> makeServiceTransport(const ServiceSettings& service, std::string& error) {
  if (!service.caFile.empty()) {
    error = "--ca-file: on Windows, trust the certificate in the system's store instead";
    return nullptr;
  }
  WinHttpTransportOptions transport;
  // WinHTTP keeps the name it connects to: the certificate must be made out
  // to ADDRESS (e.g. localhost).
  transport.connectTo = service.address;
  if (!service.address.empty()) _putenv_s("TARVIO_TEST_CONNECT_TO", service.address.c_str());
  return std::make_shared<WinHttpTransport>(transport);
}

std::string pictureUnavailableReason() {
  return "pictures need cairo, which the Windows build has not; use the Linux build for --png";
}

}  // namespace chart_tool::run

// The picture's two functions, as this build has them.
namespace chart_host {

// Without cairo the chart still needs a layout, so the study's repaints (and
// the graphics trace) have a plotting area and a price scale: the same
// margins as the picture, and the bars' range with a little room.
void layOutChartPicture(StudyInstance& instance, const ChartPictureOptions& options) {
  Chart& chart = instance.chart();
  const int32_t width = std::clamp(options.width, 200, 16000);
  const int32_t height = std::clamp(options.height, 150, 16000);
  chart.setPlotArea(PlotArea{0, 34, width - 84, height - 28});
  float low = 0.0f, high = 1.0f;
  for (std::size_t i = 0; i < chart.bars().size(); ++i) {
    const Bar& bar = chart.bars()[i];
    low = i == 0 ? bar.low : std::min(low, bar.low);
    high = i == 0 ? bar.high : std::max(high, bar.high);
  }
  const float room = std::max((high - low) * 0.06f, chart.tickSize());
  chart.setPriceRange(low - room, high + room);
}

bool chartPicturePng(StudyInstance&, const ChartPictureOptions&, std::string&, std::string& error) {
  error = chart_tool::run::pictureUnavailableReason();
  return false;
}

}  // namespace chart_host

#include "tools/chart/chart_platform.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "tools/chart/chart_options.h"
#include "host/picture/chart_picture.h"
#include "host/study_instance.h"
#include "host/winhttp_transport.h"

namespace chart_tool {

using namespace chart_host;

namespace {

std::wstring widened(const std::string& text) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(units > 0 ? units - 1 : 0, L'\0');
  if (units > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), units);
  return wide;
}

// One argument in quotes, as the C runtime splits a command line back into
// arguments: a quote gets a backslash, and backslashes before a quote (or
// the closing one) are doubled.
std::wstring quotedArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t unit : argument) {
    if (unit == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(unit);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::string systemErrorText(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

}  // namespace

std::string moduleBesideProgram() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring beside(self, length);
  beside = beside.substr(0, beside.find_last_of(L"\\/") + 1) + L"tarvio_v4_graphics_64.dll";
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, beside.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string path(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, beside.c_str(), -1, path.data(), bytes, nullptr, nullptr);
  return path;
}

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

std::shared_ptr<HttpTransport> makeServiceTransport(const ChartOptions& options, std::string& error) {
  if (!options.caFile.empty()) {
    error = "--ca-file: on Windows, trust the certificate in the system's store instead";
    return nullptr;
  }
  WinHttpTransportOptions transport;
  // WinHTTP keeps the name it connects to: the certificate must be made out
  // to ADDRESS (e.g. localhost).
  transport.connectTo = options.serviceAddress;
  if (!options.serviceAddress.empty()) _putenv_s("TARVIO_TEST_CONNECT_TO", options.serviceAddress.c_str());
  return std::make_shared<WinHttpTransport>(transport);
}

std::string pictureUnavailableReason() {
  return "pictures need cairo, which the Windows build has not; use the Linux build for --png";
}

bool startProgram(const std::string& program, const std::string& argument, StartedProgram& started,
                  std::string& error) {
  std::wstring commandLine = quotedArgument(widened(program)) + L" " + quotedArgument(widened(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    error = systemErrorText(GetLastError());
    return false;
  }
  CloseHandle(process.hThread);
  started = reinterpret_cast<StartedProgram>(process.hProcess);
  return true;
}

bool programEnded(StartedProgram started) {
  const HANDLE process = reinterpret_cast<HANDLE>(started);
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) return false;
  CloseHandle(process);
  return true;
}

void leaveProgram(StartedProgram started) { CloseHandle(reinterpret_cast<HANDLE>(started)); }

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
  if (MoveFileExW(widened(from).c_str(), widened(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  error = "MoveFileExW failed (GetLastError=" + std::to_string(GetLastError()) + ")";
  return false;
}

namespace {

std::atomic<bool> interruptCame{false};

BOOL WINAPI noteInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The second one ends the program as usual.
  if (interruptCame.exchange(true)) return FALSE;
  return TRUE;
}

}  // namespace

void noteInterrupts() { SetConsoleCtrlHandler(noteInterrupt, TRUE); }

bool interrupted() { return interruptCame; }

}  // namespace chart_tool

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

bool writeChartPicture(StudyInstance&, const ChartPictureOptions&, const std::string& pngPath,
                       std::string& error) {
  error = pngPath + ": " + chart_tool::pictureUnavailableReason();
  return false;
}

bool chartPicturePng(StudyInstance&, const ChartPictureOptions&, std::string&, std::string& error) {
  error = chart_tool::pictureUnavailableReason();
  return false;
}

}  // namespace chart_host

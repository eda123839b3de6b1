// tarvio-chart takes what a person types as typed: zones by name, list
// options by a beginning of their own, bars files that start with a
// byte-order mark, each giving what the exact text gives; and a misspelt zone
// or a span that misses the bars is refused in one line.
// The real program against a real stand-in over TLS, on the simulated clock.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/civil_calendar.h"
#include "support/standin_process.h"
#include "support/text_files.h"

using namespace chart_host;

namespace {

using test_text::readText;

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;

constexpr const char* kApiKey = "typed-inputs-key-5f3a";
constexpr const char* kChicagoZoneText = "CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00";

// Unix seconds of a New York wall-clock time on Monday 2026-03-02 (UTC-5).
int64_t unixAtNewYork(int hours, int minutes) {
  return (dayNumberOfDate(2026, 3, 2) - dayNumberOfDate(1970, 1, 1)) * 86400 + (hours + 5) * 3600 + minutes * 60;
}

std::size_t lineCount(const std::string& text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

// The outputs CSV's fourth series (the first of the live profile's) at a
// bar of the Monday.
std::string liveColumnAt(const std::string& csv, const std::string& time) {
  const std::size_t row = csv.find("\n2026-03-02 " + time + ":00,");
  if (row == std::string::npos) return "(no row)";
  std::istringstream fields(csv.substr(row + 1, csv.find('\n', row + 1) - row - 1));
  std::string field;
  for (int column = 0; column <= 4 && std::getline(fields, field, ','); ++column) {}
  return field;
}

ProcessResult runChart(const std::vector<std::string>& arguments) {
  return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
}

class ChartTypedInputs : public testing::Test {
 protected:
  void SetUp() override {
    // The stand-in's spot from 09:00 to 10:39 New York, 08:00 to 09:39 Chicago.
    const std::string window = std::to_string(unixAtNewYork(9, 0)) + "," + std::to_string(unixAtNewYork(10, 40));
    const ProcessResult written = standin_test::runToEnd({"--write-bars", out.file("bars.csv"), "--bars-window", window});
    ASSERT_EQ(written.exit_status, 0) << written.standard_error;
    std::ofstream(out.file("bom-bars.csv")) << "\xEF\xBB\xBF" << readText(out.file("bars.csv"));
  }

  // A run from 09:28 to 09:33 Chicago time, across the start of the
  // study's request window in Chicago (09:30) but not in New York, against a
  // fresh stand-in whose clock stands at the first call; its outputs CSV.
  std::string outputsOf(const std::vector<std::string>& typed) {
    StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 28)), "--api-key", kApiKey});
    EXPECT_TRUE(standin.ready()) << standin.standardError();
    const std::string csv = out.file("outputs-" + std::to_string(runs_++) + ".csv");
    std::vector<std::string> arguments = {"--start", "2026-03-02 09:28", "--end", "2026-03-02 09:33",
        "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
        "--api-key", kApiKey, "--csv", csv, "--quiet"};
    arguments.insert(arguments.end(), typed.begin(), typed.end());
    const ProcessResult run = runChart(arguments);
    EXPECT_EQ(run.exit_status, 0) << run.standard_error;
    EXPECT_EQ(run.standard_error.find(kApiKey), std::string::npos);
    return readText(csv);
  }

  ScratchFolder out;

 private:
  int runs_ = 0;
};

TEST_F(ChartTypedInputs, NamesBeginningsAndAMarkedFileGiveWhatTheExactTextsGive) {
  const auto typed = [&](const char* bars, const char* zone, const char* timeZone, const char* greek) {
    return std::vector<std::string>{"--bars", out.file(bars), "--zone", zone, "--set",
                                    std::string("Time Zone=") + timeZone, "--set", std::string("Greek=") + greek};
  };
  // The zone, the Time Zone input and the Greek each change these outputs
  // (the live profile's columns come from the first request in the window).
  const std::string expected = outputsOf(typed("bars.csv", kChicagoZoneText, "6", "1dte Gex"));
  ASSERT_GT(lineCount(expected), 90u) << expected.substr(0, 300);
  EXPECT_EQ(liveColumnAt(expected, "09:29"), "0") << "the window opens at 09:30 Chicago time";
  EXPECT_NE(liveColumnAt(expected, "09:32"), "0");

  const struct {
    const char* what;
    std::vector<std::string> typed;
  } variants[] = {
      {"zone names", typed("bars.csv", "america/chicago", "Chicago", "1dte Gex")},
      {"an option's beginning", typed("bars.csv", kChicagoZoneText, "6", "1DTE GE")},
      {"a byte-order mark", typed("bom-bars.csv", kChicagoZoneText, "6", "1dte Gex")},
  };
  for (const auto& variant : variants) EXPECT_EQ(outputsOf(variant.typed), expected) << variant.what;
}

TEST_F(ChartTypedInputs, RefusesAMisspeltZoneAndASpanThatMissesTheBars) {
  const std::string bars = out.file("bars.csv");
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    const char* says;  // the whole line after "tarvio-chart: "
  } runs[] = {
      {"misspelt chart zone", {"--zone", "Chicgo"},
       "--zone: no time zone is named 'Chicgo'; did you mean 'Chicago' or 'America/Chicago'?"},
      {"a day of bars without --start", {"--bars", bars, "--service-address", "127.0.0.1:1"},
       "do not meet; try --start \"2026-03-02 10:15\""},
      {"--end before the first bar", {"--bars", bars, "--end", "2026-03-02 08:00", "--service-address", "127.0.0.1:1"},
       "the calls (2026-03-02 07:15 to 08:00) and the bars (2026-03-02 09:00 to 10:39) do not meet; "
       "try --start \"2026-03-02 09:00\" --end \"2026-03-02 09:45\""},
  };
  for (const auto& bad : runs) {
    const ProcessResult run = runChart(bad.arguments);
    EXPECT_EQ(run.exit_status, 2) << bad.what << ": " << run.standard_error;
    EXPECT_EQ(lineCount(run.standard_error), 1u) << bad.what << ": " << run.standard_error;
    EXPECT_EQ(run.standard_error.rfind("tarvio-chart: ", 0), 0u) << bad.what;
    EXPECT_NE(run.standard_error.find(bad.says), std::string::npos) << bad.what << ": " << run.standard_error;
  }
}

TEST_F(ChartTypedInputs, WarnsOnceOfCallsBeforeTheFirstBar) {
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(9, 0)), "--api-key", kApiKey});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runChart({"--bars", out.file("bars.csv"), "--start", "2026-03-02 08:58", "--end",
                                      "2026-03-02 09:01", "--service-address",
                                      "127.0.0.1:" + std::to_string(standin.port()), "--ca-file",
                                      standin.certificatePath(), "--api-key", kApiKey, "--log", out.file("log.txt")});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  const std::string warning =
      "tarvio-chart: warning: the first bar is at 2026-03-02 09:00: the calls before it see an empty chart\n";
  EXPECT_EQ(run.standard_error.rfind(warning, 0), 0u) << run.standard_error;
  EXPECT_EQ(run.standard_error.find(warning, 1), std::string::npos) << run.standard_error;
  EXPECT_EQ(run.standard_error.find(kApiKey), std::string::npos);
}

}  // namespace

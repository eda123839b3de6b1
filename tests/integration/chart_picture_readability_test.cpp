// tarvio-chart's picture with the empty space beside the bars, as a person
// runs it against a tarvio-standin process over TLS on the simulated clock:
// the space moves the candles only, so the study's outputs, its drawings and
// (with every bar shown either way) its graphics stay exactly as they were;
// a space out of range is refused in one line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/civil_calendar.h"
#include "support/standin_process.h"
#include "support/text_files.h"

using chart_host::dayNumberOfDate;

namespace {

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::readText;

constexpr const char* kKey = "readability-KEY-5521";

// 10:15 New York time on Monday 2026-03-02 (UTC-5 that day), as Unix seconds.
int64_t unixAtQuarterPastTen() {
  return (dayNumberOfDate(2026, 3, 2) - dayNumberOfDate(1970, 1, 1)) * 86400 + 15 * 3600 + 15 * 60;
}

class ChartPictureReadability : public testing::Test {
 protected:
  // A run from 10:15 to 10:16 on synthetic bars from 09:00, against a fresh
  // stand-in, writing every file under names starting with `name`.
  ProcessResult run(const std::string& name, std::vector<std::string> extra) {
    StandinProcess standin({"--now", std::to_string(unixAtQuarterPastTen()), "--api-key", kKey});
    EXPECT_TRUE(standin.ready()) << standin.standardError();
    std::vector<std::string> arguments = {
        "--start", "2026-03-02 10:15", "--end", "2026-03-02 10:16", "--service-address",
        "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key", kKey,
        "--png", out.file(name + ".png"), "--csv", out.file(name + ".csv"), "--drawings",
        out.file(name + ".json"), "--trace", out.file(name + "-trace.jsonl"), "--no-progress"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
  }

  ScratchFolder out;
};

TEST_F(ChartPictureReadability, TheSpaceBesideTheBarsChangesThePictureOnly) {
  const ProcessResult flush = run("flush", {"--right-space", "0"});
  ASSERT_EQ(flush.exit_status, 0) << flush.standard_error;
  const ProcessResult spaced = run("spaced", {});
  ASSERT_EQ(spaced.exit_status, 0) << spaced.standard_error;

  EXPECT_EQ(readText(out.file("spaced.csv")), readText(out.file("flush.csv")));
  EXPECT_EQ(readText(out.file("spaced.json")), readText(out.file("flush.json")));
  const std::string trace = readText(out.file("spaced-trace.jsonl"));
  EXPECT_NE(trace.find("\"op\": \"rectangle\""), std::string::npos) << "the study drew its profile";
  EXPECT_EQ(trace, readText(out.file("flush-trace.jsonl")));
  EXPECT_NE(readText(out.file("spaced.png")), readText(out.file("flush.png")));
  for (const ProcessResult* result : {&flush, &spaced})
    EXPECT_EQ(result->standard_error.find(kKey), std::string::npos);
  EXPECT_EQ(trace.find(kKey), std::string::npos);
}

TEST_F(ChartPictureReadability, RefusesASpaceOutOfRangeInOneLine) {
  for (const char* value : {"91", "-5", "wide"}) {
    const ProcessResult refused =
        standin_test::runProgram(TARVIO_CHART_PATH, {"--png", out.file("refused.png"), "--right-space", value}, 60);
    EXPECT_EQ(refused.exit_status, 2) << value;
    EXPECT_EQ(refused.standard_error, std::string("tarvio-chart: --right-space takes a percentage of the plot's "
                                                  "width from 0 to 90, not '") +
                                          value + "'\n");
  }
}

}  // namespace

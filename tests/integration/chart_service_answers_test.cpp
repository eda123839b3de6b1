// tarvio-chart against a tarvio-standin process over TLS, for what only the
// host and its transports know: a service that answered in part is asked
// again (the run ends normally), only one never reached ends the run with
// status 3; a status the study cannot see gets one note of the host's per
// change, without the API key; and the module's own futures conversion,
// which only its test build sends to --service-address, is pointed out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "service/service_endpoint.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using test_text::readText;
using test_text::linesWith;

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;

// 2026-03-02 10:15 in New York, where the stand-in's clock stands.
constexpr const char* kStandinNow = "1772464500";
constexpr const char* kDistinctiveKey = "Zk-7731-distinctive-key";
constexpr const char* kHostNote = "  Host: ";
constexpr const char* kConversionPath = "\"path\":\"/v2/futures/conversion";

class ChartServiceAnswers : public testing::Test {
 protected:
  // A stand-in with its request record, checking the distinctive key.
  std::vector<std::string> standinArguments(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--now", kStandinNow, "--api-key", kDistinctiveKey,
                                          "--record", out.file("requests")};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
  }

  // 10:15 to 10:20 on the simulated clock, on synthetic bars, with the log
  // in a file and on standard error.
  ProcessResult runChart(const std::string& serviceAddress, const std::string& caFile,
                         std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:20",
                                          "--service-address", serviceAddress, "--api-key", kDistinctiveKey,
                                          "--log", out.file("log.txt"), "--no-progress"};
    if (!caFile.empty()) arguments.insert(arguments.end(), {"--ca-file", caFile});
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
  }

  ProcessResult runAgainst(const StandinProcess& standin, std::vector<std::string> extra = {}) {
    return runChart("127.0.0.1:" + std::to_string(standin.port()), standin.certificatePath(), std::move(extra));
  }

  std::vector<std::string> recordedPaths(const std::string& part) {
    return linesWith(readText(out.file("requests")), part);
  }

  ScratchFolder out;
};

TEST_F(ChartServiceAnswers, AnswersCutShortAreAskedAgainAndTheRunEndsNormally) {
  for (const char* fault : {"truncated", "close"}) {
    SCOPED_TRACE(fault);
    StandinProcess standin(standinArguments({"--fault", fault}));
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    const ProcessResult run = runAgainst(standin);
    EXPECT_EQ(run.exit_status, 0) << run.standard_error;
    EXPECT_EQ(run.standard_error.find("cannot reach the service"), std::string::npos);
    // The study is told as for any failed transfer, and asks again.
    const std::string log = readText(out.file("log.txt"));
    EXPECT_GE(linesWith(log, "There was an error requesting data from the server.").size(), 2u) << log;
    EXPECT_GT(recordedPaths("\"path\":\"/v2/sierra/").size(), 5u);
    EXPECT_TRUE(linesWith(log, kHostNote).empty()) << log;
  }
}

TEST_F(ChartServiceAnswers, OnlyAServiceNeverReachedEndsTheRunWithStatusThree) {
  StandinProcess standin(standinArguments());
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string standinAddress = "127.0.0.1:" + std::to_string(standin.port());
  struct Case {
    const char* what;
    std::string address;
    std::string caFile;
  };
  const Case cases[] = {
      {"nothing listening", "127.0.0.1:1", standin.certificatePath()},
      {"certificate not trusted", standinAddress, ""},
  };
  for (const Case& c : cases) {
    const ProcessResult run = runChart(c.address, c.caFile, {"--quiet"});
    EXPECT_EQ(run.exit_status, 3) << c.what << ": " << run.standard_error;
    EXPECT_EQ(linesWith(run.standard_error, "").size(), 1u) << c.what << ": " << run.standard_error;
    EXPECT_NE(run.standard_error.find("cannot reach the service"), std::string::npos) << c.what;
  }
}

TEST_F(ChartServiceAnswers, AStatusTheStudyCannotSeeIsNotedOncePerChange) {
  struct Case {
    const char* fault;
    const char* endpoint;
    std::vector<std::string> notes;  // what each note line holds after the time
    int exitStatus;
  };
  const Case cases[] = {
      // The history's answer and then every profile's: one run of 500s.
      {"http500", "all",
       {R"(Host: the service answered HTTP 500 for /v2/sierra/hist/ES_SPX/classic/gex_full/majors/7: )"
        R"("Internal Server Error\n")"}, 0},
      {"not-found", "profile",
       {R"(Host: the service answered HTTP 404 for /v2/sierra/ES_SPX/classic/full: "{\"error\":\"not found\"}")"}, 0},
      // The service refuses a key with status 200: the study sees that itself,
      // and halts its requests.
      {"invalid-key", "all", {}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    StandinProcess standin(standinArguments({"--fault", c.fault, "--fault-endpoint", c.endpoint}));
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    const ProcessResult run = runAgainst(standin);
    EXPECT_EQ(run.exit_status, c.exitStatus) << run.standard_error;
    const std::string log = readText(out.file("log.txt"));
    const std::vector<std::string> notes = linesWith(log, kHostNote);
    ASSERT_EQ(notes.size(), c.notes.size()) << log;
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_EQ(notes[i].substr(notes[i].find(kHostNote) + 2), c.notes[i]);
    }
    EXPECT_EQ(linesWith(run.standard_error, kHostNote).size(), c.notes.size()) << run.standard_error;
    EXPECT_GT(recordedPaths(kDistinctiveKey).size(), 1u);  // the key did travel, in its header
    EXPECT_EQ(log.find(kDistinctiveKey), std::string::npos) << log;
    EXPECT_EQ(run.standard_error.find(kDistinctiveKey), std::string::npos) << run.standard_error;
  }
}

TEST_F(ChartServiceAnswers, TheModulesOwnFuturesConversionIsPointedOutOnce) {
  StandinProcess standin(standinArguments());
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  // The test build under another name: the program cannot tell it from the
  // module users install, and its conversion still reaches the stand-in.
  const std::string renamed = out.file("tarvio_v4_graphics_64.so");
  std::filesystem::copy_file(TARVIO_TEST_ROUTE_MODULE_PATH, renamed);
  struct Case {
    const char* what;
    std::string module;
    const char* target;
    bool noted;
    bool converted;
  };
  const Case cases[] = {
      {"a target", renamed, "ES", true, true},
      {"no target", renamed, "", false, false},
      {"a blank target", renamed, "  ", false, false},
      {"the test build by its own path", TARVIO_TEST_ROUTE_MODULE_PATH, "ES", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t conversionsBefore = recordedPaths(kConversionPath).size();
    const ProcessResult run = runAgainst(standin, {"--module", c.module, "--set", std::string("Futures Target=") + c.target});
    EXPECT_EQ(run.exit_status, 0) << run.standard_error;
    const std::vector<std::string> notes = linesWith(run.standard_error, "tarvio-chart: note: ");
    ASSERT_EQ(notes.size(), c.noted ? 1u : 0u) << run.standard_error;
    if (c.noted) {
      EXPECT_EQ(run.standard_error.rfind("tarvio-chart: note: the module sends its futures conversion to " +
                                             std::string(tarvio::kServiceApiHost) + " itself, not to 127.0.0.1:",
                                         0),
                0u)
          << run.standard_error;
      EXPECT_NE(notes[0].find("test_route/tarvio_v4_graphics_64.so) follows --service-address"), std::string::npos)
          << notes[0];
    }
    EXPECT_EQ(recordedPaths(kConversionPath).size() > conversionsBefore, c.converted);
  }
}

}  // namespace

// The service key as a careless service treats it: the stand-in quotes it
// back in an error at 200 and in a body at 500, on the real clock, while the
// run writes everything it can (log, standard error, status, picture,
// drawings, trace, recording) and serves its page. A key of 8 characters or
// more is in none of it; a shorter one is never searched for in what the
// service sends, and the run says so once. Labels with invalid UTF-8 and a
// line break leave every JSON the run writes readable by a strict reader.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "integration/background_program.h"
#include "integration/plain_http.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using live_test::askServer;
using live_test::requestText;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::linesWith;
using test_text::readText;

constexpr const char* kLiveViewLine = "tarvio-chart: live view at http://127.0.0.1:";
constexpr const char* kShortKeyNote = "the service key is shorter than 8 characters";

// Empty when the text is JSON a strict reader takes (valid UTF-8 included).
std::string strictJsonProblem(const std::string& text) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(text.c_str());
  return document.HasParseError() ? rapidjson::GetParseError_En(document.GetParseError()) : "";
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++found;
  return found;
}

struct KeyCase {
  const char* key;
  bool hidden;  // long enough to be searched for in the service's texts
};

TEST(ChartKey, AnEchoedKeyIsInNothingTheRunWritesOrTheShortOneIsToldOnce) {
  for (const KeyCase& tried : {KeyCase{"Echo-9xQ2z", true}, KeyCase{"e5Kq7", false}}) {
    SCOPED_TRACE(tried.key);
    const std::string key = tried.key;
    StandinProcess standin({"--api-key", key, "--echo-key", "--fault-schedule", "2:error,3:http500"});
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    ScratchFolder out;
    live_test::BackgroundProgram chart(
        TARVIO_CHART_PATH,
        {"--real-clock", "6", "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file",
         standin.certificatePath(), "--api-key", key, "--set", "Request Start Time=00:00", "--set",
         "Request End Time=23:59", "--set", "Request Interval=1", "--set", "Zero Gamma Label=Z\xff\xfeG", "--set",
         "Major Call Vol Label=A\nB", "--serve", "127.0.0.1:0", "--status", out.file("status.json"), "--log",
         out.file("log.txt"), "--png", out.file("chart.png"), "--drawings", out.file("drawings.json"), "--trace",
         out.file("trace.jsonl"), "--record", out.file("recording"), "--no-progress"},
        out.file("stderr.txt"));
    const std::optional<std::string> served = chart.lineWith(kLiveViewLine, 20);
    ASSERT_TRUE(served) << chart.standardError();
    const int port = std::atoi(served->c_str() + std::string(kLiveViewLine).size());
    // The page's answers once both echoes have come and gone.
    std::string page;
    for (int tries = 0; tries < 100 && count(readText(out.file("log.txt")), "for key") < 2; ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string pageStatus = askServer(port, requestText("GET", "/status.json")).body;
    for (const char* path : {"/", "/chart.png", "/live.js"}) page += askServer(port, requestText("GET", path)).body;
    ASSERT_EQ(chart.waitForExit(20), 0) << chart.standardError();

    std::string written = page + pageStatus + chart.standardError();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out.path()))
      if (entry.is_regular_file()) written += readText(entry.path().string());
    const std::string log = readText(out.file("log.txt"));
    if (tried.hidden) {
      EXPECT_EQ(count(written, key), 0u);
      EXPECT_GE(count(log, "for key <API KEY>"), 2u) << log;  // the echo at 200 and at 500
    } else {
      EXPECT_GE(count(log, "for key " + key), 2u) << log;
    }
    EXPECT_EQ(count(chart.standardError(), kShortKeyNote), tried.hidden ? 0u : 1u);

    for (const std::string& json : {readText(out.file("status.json")), pageStatus, readText(out.file("drawings.json"))})
      EXPECT_EQ(strictJsonProblem(json), "") << json;
    for (const char* lines : {"trace.jsonl", "recording/exchanges.jsonl"})
      for (const std::string& line : linesWith(readText(out.file(lines)), "{"))
        ASSERT_EQ(strictJsonProblem(line), "") << lines << ": " << line;
    EXPECT_NE(readText(out.file("status.json")).find("Z\\\\xff\\\\xfeG"), std::string::npos);
  }
}

}  // namespace

// A recording read back is what was written: every field of the header and
// of each exchange, bodies byte for byte whatever they hold, times to the
// microsecond; and the writer refuses to mix a recording with other files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "recording/recording_test_folder.h"
#include "tools/recording/index_lines.h"
#include "tools/recording/recorded_exchange.h"

using namespace recording;
using recording_test::sampleExchange;
using recording_test::sampleHeader;

namespace {

std::string everyByte() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
  return bytes;
}

std::string randomBytes(std::size_t size) {
  std::mt19937_64 random(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

void expectSameExchange(const RecordedExchange& read, const RecordedExchange& written) {
  EXPECT_EQ(read.number, written.number);
  EXPECT_EQ(read.requestedAt, written.requestedAt);
  EXPECT_EQ(read.answeredAt, written.answeredAt);
  EXPECT_EQ(read.endpoint, written.endpoint);
  EXPECT_EQ(read.method, written.method);
  EXPECT_EQ(read.url, written.url);
  EXPECT_EQ(read.route, written.route);
  EXPECT_EQ(read.requestBody, written.requestBody);
  EXPECT_EQ(read.headers, written.headers);
  EXPECT_EQ(read.delivered, written.delivered);
  EXPECT_EQ(read.status, written.status);
  EXPECT_EQ(read.error, written.error);
  EXPECT_EQ(read.serviceReached, written.serviceReached);
  EXPECT_EQ(read.bodyFile, bodyFileOf(written.number));
  EXPECT_TRUE(read.body == written.body) << "exchange " << written.number << ": body of " << read.body.size()
                                         << " bytes read, " << written.body.size() << " written";
}

TEST(RecordingRoundTrip, ReadsBackEveryFieldAndOddBodiesByteForByte) {
  const std::vector<std::string> bodies = {
      "", everyByte(), std::string("a\0b\0\0c", 6), std::string(1, '\n'), "\xff\xfe not UTF-8 \xc3",
      randomBytes(2 * 1024 * 1024), "{\"levels\": [1, 2, 3]}"};
  test_files::TemporaryFolder temporary;
  const std::string folder = temporary.file("recording");
  RecordingHeader header = sampleHeader();
  header.simulatedClock = false;
  header.inputs.push_back(std::string("Odd=\x01\x7f\0end", 10));
  RecordingWriter writer;
  std::string error;
  ASSERT_TRUE(writer.open(folder + "/", header, {}, error)) << error;
  std::vector<RecordedExchange> written;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    written.push_back(sampleExchange(static_cast<int64_t>(i) + 1, bodies[i]));
    // Request texts with what JSON must escape, and bytes that are not UTF-8.
    written.back().requestBody = std::string("line\nquote\"\\ nul\0 \xe9", 19);
    written.back().headers.emplace_back("X-Odd", std::string("\0\x1f", 2));
    ASSERT_TRUE(writer.append(written.back(), error)) << error;
    // The index is valid UTF-8: a byte of no UTF-8 reads back as the text \xe9.
    written.back().requestBody.replace(18, 1, "\\xe9");
  }
  EXPECT_EQ(writer.exchangesWritten(), static_cast<int64_t>(bodies.size()));

  Recording read;
  ASSERT_TRUE(readRecording(folder, read, error)) << error;
  EXPECT_EQ(read.header.version, kRecordingVersion);
  EXPECT_EQ(read.header.chartZone, header.chartZone);
  EXPECT_FALSE(read.header.simulatedClock);
  EXPECT_EQ(read.header.firstCall, header.firstCall);
  EXPECT_EQ(read.header.lastCall, header.lastCall);
  EXPECT_EQ(read.header.stepMicroseconds, header.stepMicroseconds);
  EXPECT_EQ(read.header.inputs, header.inputs);
  EXPECT_EQ(read.barsPath, folder + "/" + kBarsFileName);
  EXPECT_EQ(read.note, "");
  ASSERT_EQ(read.exchanges.size(), written.size());
  for (std::size_t i = 0; i < written.size(); ++i) expectSameExchange(read.exchanges[i], written[i]);
}

TEST(RecordingRoundTrip, AnIndexLineIsOneLineOfJsonNamingItsBody) {
  recording_test::WrittenRecording recorded(2);
  const std::vector<std::string> lines = recorded.indexLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("{\"version\":2,\"chartZone\":\"EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00\",\"clock\":"
                           "\"simulated\",\"firstCall\":\"2026-03-02 10:15:00.000000\",",
                           0),
            0u)
      << lines[0];
  EXPECT_NE(lines[1].find("\"requestedAt\":\"2026-03-02 10:15:05.123456\",\"answeredAt\":\"2026-03-02 10:15:05.777777\""),
            std::string::npos)
      << lines[1];
  EXPECT_NE(lines[1].find("\"bodyFile\":\"bodies/000001.body\",\"bodyBytes\":11,\"bodyChecksum\":\"fnv1a64:"),
            std::string::npos)
      << lines[1];
  EXPECT_EQ(test_text::readText(recorded.file("bodies/000002.body")), "{\"body\": 2}");
}

TEST(RecordingWriterTest, RefusesAFolderThatHoldsAnythingAndExchangesOutOfTurn) {
  test_files::TemporaryFolder temporary;
  std::filesystem::create_directories(temporary.file("used/inner"));
  std::filesystem::create_directories(temporary.file("empty"));
  std::ofstream(temporary.file("a file")) << "x";
  struct Case {
    std::string folder;
    std::string error;  // empty: accepted
  };
  const Case cases[] = {
      {temporary.file("used"), temporary.file("used") + ": already holds files; a recording needs a new or empty folder"},
      {temporary.file("a file"), temporary.file("a file") + ": is a file; a recording needs a new or empty folder"},
      {temporary.file("a file/below"), "cannot be made"},
      {temporary.file("empty"), ""},
      {temporary.file("new/and/deeper"), ""},
  };
  for (const Case& c : cases) {
    RecordingWriter writer;
    std::string error;
    EXPECT_EQ(writer.open(c.folder, sampleHeader(), {}, error), c.error.empty()) << c.folder;
    if (c.error.find(": ") != std::string::npos) EXPECT_EQ(error, c.error);
    else EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
  RecordingWriter writer;
  std::string error;
  ASSERT_TRUE(writer.open(temporary.file("turns"), sampleHeader(), {}, error)) << error;
  EXPECT_FALSE(writer.append(sampleExchange(2, "x"), error));
  EXPECT_EQ(error, temporary.file("turns") + ": exchange 2 where exchange 1 was due");
  RecordedExchange timeless = sampleExchange(1, "x");
  timeless.answeredAt = -700000 * kMicrosecondsPerDay;
  EXPECT_FALSE(writer.append(timeless, error));
  EXPECT_NE(error.find("answeredAt"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(temporary.file("turns/bodies/000001.body")));
  EXPECT_TRUE(writer.append(sampleExchange(1, "x"), error)) << error;
}

// The header of a run no reader would take back is refused before the folder
// is made, rather than a recording that cannot be replayed written for hours.
TEST(RecordingWriterTest, BeginsNoRecordingItsReaderWouldRefuse) {
  test_files::TemporaryFolder temporary;
  struct Case {
    int64_t step_us;
    int64_t span_s;
    std::string error;  // after "FOLDER: "; empty: begun
  };
  const Case cases[] = {
      {kMicrosecondsPerSecond / 2, 60, "a step of 500000 microseconds, shorter than the 1000000 (one second)"},
      {kMicrosecondsPerSecond, 1'000'000, "a span of 1000001 calls at its step, more than the 1000000"},
      {kMicrosecondsPerSecond, 999'999, ""},
      {2 * kMicrosecondsPerSecond, 1'999'998, ""},
  };
  for (const Case& c : cases) {
    RecordingHeader header = sampleHeader();
    header.stepMicroseconds = c.step_us;
    header.lastCall = header.firstCall + c.span_s * kMicrosecondsPerSecond;
    const std::string folder = temporary.file("run of " + std::to_string(c.span_s));
    RecordingWriter writer;
    std::string error;
    EXPECT_EQ(writer.open(folder, header, {}, error), c.error.empty()) << error;
    EXPECT_EQ(error.empty() ? "" : error.substr(0, folder.size() + 2 + c.error.size()),
              c.error.empty() ? "" : folder + ": " + c.error);
    EXPECT_EQ(std::filesystem::exists(folder), c.error.empty()) << folder;
  }
}

}  // namespace

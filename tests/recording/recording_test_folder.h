// A recording written by the writer into a test's own folder, with the
// index's lines at hand to damage, for the reader's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temporary_folder.h"
#include "support/text_files.h"
#include "tools/recording/recording_writer.h"

namespace recording_test {

inline recording::RecordingHeader sampleHeader() {
  recording::RecordingHeader header;
  header.chartZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
  header.simulatedClock = true;
  header.firstCall = 46083LL * kMicrosecondsPerDay + 10 * kMicrosecondsPerHour + 15 * kMicrosecondsPerMinute;
  header.lastCall = header.firstCall + 45 * kMicrosecondsPerMinute;
  header.stepMicroseconds = 5 * kMicrosecondsPerSecond;
  header.inputs = {"Ticker=ES_SPX", "Package=0", "Greek Text=a \"quoted\" text\twith a tab"};
  return header;
}

// Exchange `number` of a run, its body as given.
inline recording::RecordedExchange sampleExchange(int64_t number, std::string body) {
  recording::RecordedExchange exchange;
  exchange.number = number;
  exchange.requestedAt = sampleHeader().firstCall + number * 5 * kMicrosecondsPerSecond + 123456;
  exchange.answeredAt = exchange.requestedAt + 654321;
  exchange.endpoint = number % 2 ? "profile" : "history";
  exchange.method = number % 2 ? "GET" : "POST";
  exchange.route = "/v2/sierra/ES_SPX/classic/full";
  exchange.url = "https://api.tarvio.com" + exchange.route;
  exchange.requestBody = number % 2 ? "" : "{\"start\": 1772460000, \"end\": 1772463600}";
  exchange.headers = {{"Authorization", recording::kHiddenKey}, {"Accept", "application/json"}};
  exchange.delivered = number != 3;
  exchange.status = exchange.delivered ? 200 : 0;
  exchange.error = exchange.delivered ? "" : "Timeout was reached";
  exchange.serviceReached = number != 3;
  exchange.body = std::move(body);
  return exchange;
}

class WrittenRecording {
 public:
  // Writes a recording of exchanges 1 to `count` with short text bodies.
  explicit WrittenRecording(int count) {
    recording::RecordingWriter writer;
    std::string error;
    EXPECT_TRUE(writer.open(folder(), sampleHeader(), {}, error)) << error;
    for (int number = 1; number <= count; ++number)
      EXPECT_TRUE(writer.append(sampleExchange(number, "{\"body\": " + std::to_string(number) + "}"), error)) << error;
  }
  std::string folder() const { return temporary_.file("recording"); }
  std::string file(const std::string& name) const { return folder() + "/" + name; }
  std::string indexPath() const { return file(recording::kIndexFileName); }
  std::vector<std::string> indexLines() const { return test_text::linesOf(test_text::readText(indexPath())); }

 private:
  test_files::TemporaryFolder temporary_;
};

}  // namespace recording_test

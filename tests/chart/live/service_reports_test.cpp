// What is made of the service's record for a person: the picture's age, warning
// and notice texts, the run's summary, and the status file with its atomic
// replacement; the service key hidden in all of them.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "chart/observed_calls.h"
#include "support/temporary_folder.h"
#include "study/time_zone_table.h"
#include "tools/chart/live/data_age.h"
#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/outputs/run_summary.h"
#include "tools/chart/live/status_file.h"
#include "tools/chart/inputs/zone_names.h"

using namespace chart_tool;
using namespace chart_tool::inputs;
using namespace chart_tool::live;
using namespace chart_tool::outputs;
using namespace chart_tool::run;
using namespace observed_calls;

namespace {

constexpr const char* kStart = "09:30 New York time";

TEST(DataAge, SaysAgesInSecondsThenMinutesThenHours) {
  const struct {
    int64_t age_s;
    const char* text;
  } cases[] = {{0, "0 s ago"},       {40, "40 s ago"},       {90, "90 s ago"},    {91, "2 min ago"},
               {150, "3 min ago"},   {5400, "90 min ago"},   {5401, "2 h ago"},   {7199, "2 h ago"},
               {36000, "10 h ago"}};
  for (const auto& c : cases) EXPECT_EQ(ageText(c.age_s), c.text) << c.age_s;
}

// The marks a case expects; the notice is the plot notice unless given.
struct Expected {
  Expected(std::string dataAge, std::string warning, std::string plotNotice, std::string notice = "",
           std::vector<std::string> banners = {})
      : dataAge(std::move(dataAge)), warning(std::move(warning)), plotNotice(std::move(plotNotice)),
        notice(notice.empty() ? this->plotNotice : std::move(notice)), banners(std::move(banners)) {}
  std::string dataAge, warning, plotNotice, notice;
  std::vector<std::string> banners;
};

struct Marked {
  const char* what;
  std::vector<ObservedCall> calls;
  Expected marks;
};

ObservedCall closed(ObservedCall observed) {
  observed.windowOpen = false;
  return observed;
}

ObservedCall halted(ObservedCall observed) {
  observed.halted = true;
  return observed;
}

// The call with the study holding a profile the service dated `seconds` from 10:15:00.
ObservedCall dated(ObservedCall observed, int seconds) {
  observed.snapshotTime = at(seconds);
  return observed;
}

TEST(DataAge, MarksThePictureByTheAgeOfItsLevelsAndTellsAnOutageOnItsFirstCall) {
  ObservedCall nextDay = call(0);
  nextDay.now += kMicrosecondsPerDay;
  const std::string refused = "the service refused its answers since 10:15:20 (HTTP 500); levels from 10:15:00";
  const std::string noAnswer = "no answer from the service since 10:15:05: Couldn't connect to server";
  const std::vector<Marked> cases = {
      {"live", {call(0, delivered(200)), call(10)}, {"levels as of 10:15:00, 10 s ago", "", ""}},
      {"refused, then stale",
       {call(0, delivered(200)), call(20, delivered(500))},
       {"levels as of 10:15:00, 20 s ago, refused since 10:15:20", "STALE", "", refused, {refused}}},
      {"a failed transfer takes the levels off",
       {call(0, delivered(200)), call(5, failed("Couldn't connect to server"))},
       {"no answer since 10:15:05", "", noAnswer, noAnswer}},
      {"the next good answer ends the outage",
       {call(0, delivered(200)), call(5, failed("Couldn't connect to server")), call(10, delivered(200))},
       {"levels as of 10:15:10, 0 s ago", "", ""}},
      {"halted after good levels", {call(0, delivered(200)), halted(call(5, delivered(200), {alert(kInvalidKey)}))},
       {"levels as of 10:15:00, 5 s ago", "REQUESTS HALTED", ""}},
      {"window closed on the day's levels", {call(0, delivered(200)), closed(call(3600))},
       {"levels as of 10:15:00, 60 min ago, window closed", "", ""}},
      {"levels of an earlier day", {call(0, delivered(200)), nextDay},
       {"levels as of 2026-03-02 10:15:00, 24 h ago", "STALE", ""}},
      {"the service's own time", {dated(call(0, delivered(200)), -3), dated(call(10), -3)},
       {"levels as of 10:14:57 (service time), 13 s ago", "", ""}},
      {"an old snapshot sent again and again",
       {dated(call(0, delivered(200)), -200), dated(call(5, delivered(200)), -200)},
       {"levels as of 10:11:40 (service time), 3 min ago", "STALE", ""}},
      {"a service clock ahead of ours", {dated(call(0, delivered(200)), 30)},
       {"levels as of 10:15:30 (service time), 0 s ago", "", ""}},
      {"a timestamp that is no time of today", {dated(call(0, delivered(200)), -2 * 86400)},
       {"levels as of 10:15:00, 0 s ago", "", ""}},
      {"nothing yet, window closed", {closed(call(0))}, {"", "", "no levels yet: requests start at 09:30 New York time"}},
      {"nothing yet, asking", {call(0)}, {"", "", "no answer from the service"}},
      {"nothing after three intervals",
       {call(0), call(15, delivered(500))},
       {"", "STALE", "the service refused its answers since 10:15:15 (HTTP 500); no levels yet"}},
      {"nothing, halted", {halted(call(0, delivered(200), {alert(kInvalidKey)}))},
       {"", "REQUESTS HALTED", "no levels: requests halted (see the message log)"}},
  };
  for (const Marked& c : cases) {
    ServiceRecord record;
    for (const ObservedCall& observed : c.calls) record.noteCall(observed);
    const DataAgeMarks marks = dataAgeMarks(record, PriceRecord(false, false), kStart);
    EXPECT_EQ(marks.dataAge, c.marks.dataAge) << c.what;
    EXPECT_EQ(marks.warning, c.marks.warning) << c.what;
    EXPECT_EQ(marks.plotNotice, c.marks.plotNotice) << c.what;
    EXPECT_EQ(marks.notice, c.marks.notice) << c.what;
    EXPECT_EQ(marks.banners, c.marks.banners) << c.what;
    EXPECT_EQ(record.stale(), !record.staleReason().empty()) << c.what;
  }
}

// The price's marks on a live run: its time and age, and STALE once the bars
// have not moved for three bar periods inside the window, never outside it.
TEST(DataAge, MarksThePriceStaleWhenTheBarsStopMovingInsideTheWindow) {
  const std::vector<chart_host::Bar> bars = {{at(-120), 1, 1, 1, 1, 1}, {at(-60), 1, 2, 1, 2, 1}};
  const struct {
    int seconds;
    bool windowOpen;
    const char* age;
    const char* warning;
  } cases[] = {{0, true, "price as of 10:14:00, 60 s ago", ""},
               {119, true, "price as of 10:14:00, 3 min ago", ""},
               {120, true, "price as of 10:14:00, 3 min ago", "PRICE STALE"},
               {120, false, "price as of 10:14:00, 3 min ago", ""}};
  for (const auto& c : cases) {
    PriceRecord price(true, false);
    price.noteCall(at(c.seconds), bars, c.windowOpen, {});
    ServiceRecord service;
    service.noteCall(call(c.seconds));
    const DataAgeMarks marks = dataAgeMarks(service, price, kStart);
    EXPECT_EQ(marks.priceAge, c.age) << c.seconds;
    EXPECT_EQ(marks.priceWarning, c.warning) << c.seconds;
  }
  PriceRecord moving(true, true);
  moving.noteCall(at(0), bars, true, {});
  std::vector<chart_host::Bar> changed = bars;
  changed.back().close = 1.5f;
  moving.noteCall(at(170), changed, true, {});
  EXPECT_EQ(moving.age_s(), 0) << "a changed newest bar moves the price";
  ServiceRecord service;
  service.noteCall(call(170));
  EXPECT_EQ(dataAgeMarks(service, moving, kStart).priceAge, "synthetic price as of 10:14:00, 0 s ago");
}

TEST(DataAge, NamesEveryZoneOfTheModulesTable) {
  EXPECT_EQ(zoneTimeName(tarvio::kNewYorkZoneText), "New York time");
  EXPECT_EQ(zoneTimeName(tarvio::kUtcZoneText), "UTC");
  EXPECT_EQ(zoneTimeName(""), "chart time");
  EXPECT_EQ(zoneTimeName("XYZ+07"), "chart time");
  for (int32_t i = 1; i + 1 < tarvio::kTimeZoneCount; ++i)
    EXPECT_NE(zoneTimeName(tarvio::TimeZoneTable[i]), "chart time") << i;
}

TEST(KeyHiding, HidesEveryOccurrenceOfAKeyLongEnoughToBeOne) {
  const struct {
    const char* text;
    const char* key;
    const char* shown;
  } cases[] = {
      {"key sk-LIVE-1 and again sk-LIVE-1.", "sk-LIVE-1", "key <API KEY> and again <API KEY>."},
      {"sk-LIVE-1sk-LIVE-1", "sk-LIVE-1", "<API KEY><API KEY>"},
      {"nothing here", "sk-LIVE-1", "nothing here"},
      {"Invalid API Key", "API", "Invalid API Key"},  // too short to be told from a word
      {"price 5750.25", "5750", "price 5750.25"},     // or from a price
      {"a API KEY> b", "API KEY>", "a <API KEY> b"},  // a key the replacement holds: no endless loop
      {"text", "", "text"},
  };
  for (const auto& c : cases) EXPECT_EQ(withoutKey(c.text, c.key), c.shown) << c.text;
}

TEST(RunSummary, SaysHowTheServiceAnsweredOverTheRun) {
  ServiceRecord record;
  record.noteCall(call(0));
  record.noteCall(call(1, delivered(200, kHistoryUrl)));
  record.noteCall(call(2, delivered(200)));
  for (int i = 0; i < 3; ++i) record.noteCall(call(7 + 5 * i, failed("Timeout was reached")));
  record.noteCall(call(22, delivered(500)));
  record.noteCall(call(27, delivered(500)));
  EXPECT_EQ(serviceSummary(record),
            "8 calls: 1 answer, 1 history answer, 3 failed transfers (Timeout was reached \u00d73), 2 answers refused "
            "(HTTP 500 \u00d72); last good answer at 2026-03-02 10:15:02; levels STALE at the end; requests not halted");

  ServiceRecord refused;
  refused.noteCall(halted(call(2, delivered(200), {alert(kInvalidKey)})));
  EXPECT_EQ(serviceSummary(refused),
            "1 call: 0 answers, 1 answer refused (by the study \u00d71); no good answer; requests halted");
}

rapidjson::Document parsed(const std::string& text) {
  // Strictly: the file must be valid UTF-8 whatever bytes its texts held.
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(text.c_str());
  return document;
}

TEST(StatusFile, WritesTheRecordAsJsonWithTheKeyHidden) {
  const std::string key = "sk-LIVE-ZQX7-\"quoted\"";
  ServiceRecord record;
  record.noteCall(call(0));
  record.noteCall(call(1, delivered(200)));
  record.noteCall(halted(call(6, delivered(200), {alert("Tarvio API Error: key " + key + "\n\x01 refused")})));
  const std::vector<study_door::DrawnLevel> levels = {{"ZG", 5790.45f, 9, 0}, {"Call " + key, 5800.0f, 10, 0},
                                                      {"Put \xff\xfe", 5810.0f, 11, 0}};
  const std::string text = statusJson(record, levels, {"ZG crossed", "alert about " + key}, "", key);
  EXPECT_EQ(text.find("sk-LIVE-ZQX7"), std::string::npos) << text;
  const rapidjson::Document status = parsed(text);
  ASSERT_TRUE(status.IsObject()) << text;
  EXPECT_STREQ(status["now"].GetString(), "2026-03-02 10:15:06");
  EXPECT_STREQ(status["lastGoodAnswer"].GetString(), "2026-03-02 10:15:01");
  EXPECT_EQ(status["ageSeconds"].GetInt(), 5);
  EXPECT_FALSE(status["stale"].GetBool());
  EXPECT_EQ(status["calls"].GetInt(), 3);
  EXPECT_EQ(status["answers"].GetInt(), 1);
  EXPECT_EQ(status["historyAnswers"].GetInt(), 0);
  EXPECT_EQ(status["refusals"].GetInt(), 1);
  EXPECT_EQ(status["failedTransfers"].GetInt(), 0);
  EXPECT_EQ(status["lastHttpStatus"].GetInt(), 200);
  EXPECT_STREQ(status["lastError"].GetString(), "Tarvio API Error: key <API KEY>\n\x01 refused");
  EXPECT_TRUE(status["halted"].GetBool());
  EXPECT_STREQ(status["haltReason"].GetString(), status["lastError"].GetString());
  EXPECT_STREQ(status["requestWindow"].GetString(), "open");
  EXPECT_TRUE(status["notice"].IsNull());
  ASSERT_EQ(status["levels"].Size(), 3u);
  EXPECT_STREQ(status["levels"][0]["name"].GetString(), "ZG");
  EXPECT_EQ(status["levels"][0]["price"].GetDouble(), 5790.45);  // the float's shortest text
  EXPECT_STREQ(status["levels"][1]["name"].GetString(), "Call <API KEY>");
  EXPECT_STREQ(status["levels"][2]["name"].GetString(), "Put \\xff\\xfe");
  ASSERT_EQ(status["alerts"].Size(), 2u);
  EXPECT_STREQ(status["alerts"][1].GetString(), "alert about <API KEY>");
}

TEST(StatusFile, WritesNullsBeforeAnyAnswer) {
  ServiceRecord record;
  record.noteCall(closed(call(0)));
  const rapidjson::Document status =
      parsed(statusJson(record, {}, {}, "no levels yet: requests start at 09:30 New York time", ""));
  for (const char* name : {"lastGoodAnswer", "ageSeconds", "lastHttpStatus", "lastError", "haltReason"})
    EXPECT_TRUE(status[name].IsNull()) << name;
  EXPECT_STREQ(status["requestWindow"].GetString(), "closed");
  EXPECT_STREQ(status["notice"].GetString(), "no levels yet: requests start at 09:30 New York time");
  EXPECT_TRUE(status["levels"].IsArray() && status["alerts"].IsArray());
}

class StatusFolder : public testing::Test {
 protected:
  StatusFolder() { std::filesystem::create_directories(folder_.path() / "sub"); }
  std::string file(const std::string& name) const { return folder_.file(name); }
  static std::string read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  test_files::TemporaryFolder folder_;
};

TEST_F(StatusFolder, ReplacesTheFileWholeAndLeavesNoTemporaryBehind) {
  StatusFile status;
  std::string error;
  ASSERT_TRUE(status.open(file("sub/status.json"), error)) << error;
  EXPECT_EQ(read(file("sub/status.json")), "{}\n");
  EXPECT_EQ(status.replace("{\"calls\": 1}\n"), "");
  EXPECT_EQ(status.replace("{\"calls\": 2}\n"), "");
  EXPECT_EQ(read(file("sub/status.json")), "{\"calls\": 2}\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path() / "sub"), {}), 1);
}

TEST_F(StatusFolder, RefusesAFileThatCannotBeWrittenAndTellsALaterFailureOnce) {
  StatusFile nowhere;
  std::string error;
  EXPECT_FALSE(nowhere.open(file("missing/status.json"), error));
  EXPECT_EQ(error.rfind(file("missing/status.json") + ": cannot be written", 0), 0u) << error;

  StatusFile status;
  ASSERT_TRUE(status.open(file("sub/status.json"), error)) << error;
  std::filesystem::remove_all(folder_.path() / "sub");
  const std::string told = status.replace("{}\n");
  EXPECT_NE(told.find("--status " + file("sub/status.json") + ": cannot be written ("), std::string::npos) << told;
  EXPECT_EQ(status.replace("{}\n"), "");  // told once
  std::filesystem::create_directories(folder_.path() / "sub");
  EXPECT_EQ(status.replace("{\"calls\": 3}\n"), "");  // and tried again every call
  EXPECT_EQ(read(file("sub/status.json")), "{\"calls\": 3}\n");

  StatusFile none;
  EXPECT_TRUE(none.open("", error));
  EXPECT_EQ(none.replace("{}\n"), "");
}

}  // namespace

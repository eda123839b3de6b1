// Schedules of faults and delays: their text read strictly, the command
// line's checks around them, and what each counted request gets.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "standin/market_time.h"
#include "tools/standin/fault_schedule.h"
#include "tools/standin/request_router.h"
#include "tools/standin/standin_options.h"

namespace standin {
namespace {

// A schedule as "N-M:VALUE" words, or its failure's message after "error: ".
template <class Entry, class Read>
std::string scheduleText(const support::Result<std::vector<Entry>>& read, Read value) {
  if (!read) return "error: " + read.message();
  std::ostringstream text;
  for (const Entry& entry : read.value())
    text << (text.tellp() > 0 ? " " : "") << entry.run.first << '-' << entry.run.last << ':' << value(entry);
  return text.str();
}

std::string faultScheduleText(const std::string& text) {
  return scheduleText(faultScheduleFromText(text), [](const ScheduledFault& e) { return faultName(e.mode); });
}

std::string delayScheduleText(const std::string& text) {
  return scheduleText(delayScheduleFromText(text), [](const ScheduledDelay& e) { return e.seconds; });
}

struct ScheduleCase {
  const char* text;
  std::string read;  // the entries, or "error: " and the message
};

TEST(FaultSchedule, ReadsWholeEntriesAndNamesTheBadOne) {
  const std::string run = "is not N or N-M, requests counted from 1 (M not below N)";
  const std::string modes = "is not one of " + faultNames();
  const ScheduleCase cases[] = {
      {"3:http500,5:close,8-9:error", "3-3:http500 5-5:close 8-9:error"},
      {"1:none,2-4:random,5-5:slow", "1-1:none 2-4:random 5-5:slow"},
      {"3-4:error,5:close", "3-4:error 5-5:close"},
      {"18446744073709551615:not-found", "18446744073709551615-18446744073709551615:not-found"},
      {"", "error: needs at least one entry N[-M]:MODE"},
      {"3:http500,", "error: entry 2 is empty; entries are N[-M]:MODE"},
      {",3:http500", "error: entry 1 is empty; entries are N[-M]:MODE"},
      {"3:http500,,5:close", "error: entry 2 is empty; entries are N[-M]:MODE"},
      {"3", "error: entry '3' is not N[-M]:MODE"},
      {"3:close,http500", "error: entry 'http500' is not N[-M]:MODE"},
      {"0:close", "error: entry '0:close': '0' " + run},
      {"5-3:close", "error: entry '5-3:close': '5-3' " + run},
      {" 3:close", "error: entry ' 3:close': ' 3' " + run},
      {"18446744073709551616:close", "error: entry '18446744073709551616:close': '18446744073709551616' " + run},
      {"3:Http500", "error: entry '3:Http500': 'Http500' " + modes},
      {"3:", "error: entry '3:': '' " + modes},
      {"3:close ", "error: entry '3:close ': 'close ' " + modes},
      {"3-5:error,5:close", "error: entries '3-5:error' and '5:close' overlap"},
      {"9:close,1-20:error", "error: entries '9:close' and '1-20:error' overlap"},
      {"1-10:error,12:close,3:empty", "error: entries '1-10:error' and '3:empty' overlap"},
  };
  for (const ScheduleCase& c : cases) EXPECT_EQ(faultScheduleText(c.text), c.read) << c.text;
}

TEST(DelaySchedule, ReadsSecondsFromZeroToSixty) {
  const std::string seconds = "is not a number of seconds from 0 to 60";
  const ScheduleCase cases[] = {
      {"2:0.5,4-6:2", "2-2:0.5 4-6:2"},
      {"1:0,2:60,3:1e1", "1-1:0 2-2:60 3-3:10"},
      {"1:60.001", "error: entry '1:60.001': '60.001' " + seconds},
      {"1:-1", "error: entry '1:-1': '-1' " + seconds},
      {"1:nan", "error: entry '1:nan': 'nan' " + seconds},
      {"1:", "error: entry '1:': '' " + seconds},
      {"", "error: needs at least one entry N[-M]:SECONDS"},
      {"1:1,,2:2", "error: entry 2 is empty; entries are N[-M]:SECONDS"},
      {"0.5", "error: entry '0.5' is not N[-M]:SECONDS"},
      {"1-3:1,3:2", "error: entries '1-3:1' and '3:2' overlap"},
  };
  for (const ScheduleCase& c : cases) EXPECT_EQ(delayScheduleText(c.text), c.read) << c.text;
}

// The schedules on the command line: named in their messages, and a fault
// schedule never beside the one-mode options it replaces.
TEST(FaultSchedule, TakesItsPlaceAmongTheFaultOptions) {
  const struct {
    std::vector<std::string> arguments;
    const char* problem;  // empty: accepted
  } cases[] = {
      {{"--fault-schedule", "3:http500,5:close", "--delay-schedule=1:0.5", "--fault", "none"}, ""},
      {{"--fault", "slow", "--fault-requests", "2", "--delay-schedule", "1-3:2"}, ""},
      {{"--fault-schedule", "2:random", "--fault-rate", "1", "--fault-endpoint", "history"}, ""},
      {{"--fault", "http500", "--fault-schedule", "3:close"},
       "--fault-schedule: not with --fault; give each mode in the schedule"},
      {{"--fault-schedule", "3:close", "--fault-requests", "2-4"},
       "--fault-schedule: not with --fault-requests; each entry names its requests"},
      {{"--fault-schedule", "3:close,3:error"}, "--fault-schedule: entries '3:close' and '3:error' overlap"},
      {{"--delay-schedule", "2:99"}, "--delay-schedule: entry '2:99': '99' is not a number of seconds from 0 to 60"},
      {{"--fault-schedule"}, "--fault-schedule: missing value"},
  };
  for (const auto& c : cases) {
    const support::Result<StandinOptions> options = parseStandinOptions(c.arguments);
    EXPECT_EQ(options.message(), c.problem) << c.arguments[0] << " " << c.arguments[1];
  }
}

// Each counted request gets its entry's fault and delay; requests at other
// endpoints are neither counted nor delayed.
TEST(FaultSchedule, GivesEachCountedRequestItsFaultAndDelay) {
  FaultPlan plan({{{3, 3}, FaultMode::Http500}, {{5, 6}, FaultMode::Close}},
                 {{{2, 2}, 0.5}, {{5, 5}, 1.5}, {{7, 8}, 2}}, 0, 7, Endpoint::Profile);
  const struct {
    FaultMode fault;
    double delay_s;
  } expected[] = {{FaultMode::None, 0},   {FaultMode::None, 0.5}, {FaultMode::Http500, 0}, {FaultMode::None, 0},
                  {FaultMode::Close, 1.5}, {FaultMode::Close, 0},  {FaultMode::None, 2},    {FaultMode::None, 2},
                  {FaultMode::None, 0}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    const DrawnFault other = plan.next(Endpoint::Futures);
    EXPECT_TRUE(other.fault == FaultMode::None && other.delay_s == 0) << i;
    const DrawnFault drawn = plan.next(Endpoint::Profile);
    EXPECT_EQ(drawn.fault, expected[i].fault) << "request " << i + 1;
    EXPECT_EQ(drawn.delay_s, expected[i].delay_s) << "request " << i + 1;
  }
}

// A delay sends the answer the request would get anyway, a fault's
// included, and adds to the slow fault's own delay.
TEST(FaultSchedule, DelaysTheAnswerWithoutReplacingIt) {
  const MarketModel model{0};
  ReplayBook replays;
  FaultPlan plan({{{2, 2}, FaultMode::Http500}, {{3, 3}, FaultMode::Slow}}, {{{1, 3}, 1.25}}, 0, 0, std::nullopt);
  const RequestRouter router{model, ServiceSettings{"k", kNow, 12}, plan, replays};
  ReceivedRequest request;
  request.method = "GET";
  request.target = "/v2/sierra/SPX/classic/full";
  request.headers = {{"Authorization", "Basic k"}};

  const struct {
    unsigned status;
    double delay_s;
  } expected[] = {{200, 1.25}, {500, 1.25}, {200, 12 + 1.25}, {200, 0}};
  for (const auto& e : expected) {
    const Reply reply = router.answer(request);
    EXPECT_EQ(reply.status, e.status);
    EXPECT_EQ(reply.delay_s, e.delay_s) << reply.status;
  }
}

}  // namespace
}  // namespace standin

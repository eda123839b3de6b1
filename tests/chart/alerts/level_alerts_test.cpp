// Alerts on the last price against the drawn levels: crossings each way,
// touches, the quiet time, levels that move, come near, several at once and
// vanish; the options that ask for them; a program that cannot be started.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/chart/alerts/alert_command.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/alerts/level_alerts.h"
#include "host/civil_calendar.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::alerts;
using namespace chart_tool::command_line;

namespace {

// 2026-03-02 10:30:00 plus `seconds`.
HostDateTime at(int64_t seconds) {
  return dayNumberOfDate(2026, 3, 2) * kMicrosecondsPerDay + (10 * 3600 + 30 * 60 + seconds) * kMicrosecondsPerSecond;
}

struct Look {
  int64_t seconds;  // after 10:30:00
  float price;
  std::vector<study_door::DrawnLevel> levels;
};

struct AlertCase {
  const char* what;
  AlertSettings settings;
  std::vector<Look> looks;
  std::vector<std::string> alerts;  // every alert of every look, in order
};

study_door::DrawnLevel level(const char* name, float price) { return study_door::DrawnLevel{name, price, 0, 0}; }

const std::vector<study_door::DrawnLevel> kZeroGamma = {level("ZG", 5868.82f)};
const std::vector<study_door::DrawnLevel> kOnTick = {level("ZG", 5868.75f)};
constexpr AlertSettings kCross{true, 0, 300};
constexpr AlertSettings kNear4{false, 4, 300};

std::vector<std::string> alertsOf(const AlertCase& test, float tickSize = 0.25f) {
  LevelAlerts alerts(test.settings, tickSize);
  std::vector<std::string> raised;
  for (const Look& look : test.looks) {
    for (const RaisedAlert& alert : alerts.look("ES_SPX", look.price, look.levels, at(look.seconds)))
      raised.push_back(alert.text);
  }
  return raised;
}

TEST(LevelAlerts, RaiseWhatEachRunOfPricesAndLevelsCallsFor) {
  const std::vector<AlertCase> cases = {
      {"upward crossing", kCross, {{0, 5868.00f, kZeroGamma}, {5, 5869.25f, kZeroGamma}},
       {"ES_SPX 5869.25 crossed ZG 5868.82 upward at 10:30:05"}},
      {"downward crossing", kCross, {{0, 5869.50f, kZeroGamma}, {65, 5868.50f, kZeroGamma}},
       {"ES_SPX 5868.50 crossed ZG 5868.82 downward at 10:31:05"}},
      {"the first look has nothing to cross from", kCross, {{0, 5869.25f, kZeroGamma}}, {}},
      {"touching and going back", kCross,
       {{0, 5868.50f, kOnTick}, {1, 5868.75f, kOnTick}, {2, 5868.50f, kOnTick}, {3, 5868.75f, kOnTick}}, {}},
      {"touching and carrying on crosses once", kCross,
       {{0, 5868.50f, kOnTick}, {1, 5868.75f, kOnTick}, {2, 5868.75f, kOnTick}, {3, 5869.00f, kOnTick},
        {4, 5869.25f, kOnTick}},
       {"ES_SPX 5869.00 crossed ZG 5868.75 upward at 10:30:03"}},
      {"hovering within the quiet time alerts once each way: a cross back is its own alert", kCross,
       {{0, 5868.50f, kZeroGamma}, {5, 5869.00f, kZeroGamma}, {10, 5868.50f, kZeroGamma},
        {15, 5869.00f, kZeroGamma}, {304, 5868.50f, kZeroGamma}},
       {"ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:05",
        "ES_SPX 5868.50 crossed ZG 5868.82 downward at 10:30:10"}},
      {"again once the quiet time has passed", kCross,
       {{0, 5868.50f, kZeroGamma}, {5, 5869.00f, kZeroGamma}, {10, 5868.50f, kZeroGamma},
        {305, 5869.00f, kZeroGamma}, {306, 5868.50f, kZeroGamma}},
       {"ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:05",
        "ES_SPX 5868.50 crossed ZG 5868.82 downward at 10:30:10",
        "ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:35:05"}},
      {"no quiet time", AlertSettings{true, 0, 0},
       {{0, 5868.50f, kZeroGamma}, {1, 5869.00f, kZeroGamma}, {2, 5868.50f, kZeroGamma}},
       {"ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:01",
        "ES_SPX 5868.50 crossed ZG 5868.82 downward at 10:30:02"}},
      {"a level moving over a still price", AlertSettings{true, 4, 300},
       {{0, 5868.00f, {level("ZG", 5866.00f)}}, {1, 5868.00f, {level("ZG", 5868.25f)}},
        {2, 5868.00f, {level("ZG", 5870.00f)}}},
       {}},
      {"a level moving away as the price moves toward it", kCross,
       {{0, 5868.00f, kZeroGamma}, {1, 5869.00f, {level("ZG", 5870.00f)}}}, {}},
      {"near: entering alerts, staying and leaving do not, re-entering the same way is quiet", kNear4,
       {{0, 5866.00f, kZeroGamma}, {1, 5868.00f, kZeroGamma}, {2, 5868.25f, kZeroGamma},
        {3, 5866.00f, kZeroGamma}, {4, 5867.75f, kZeroGamma}},
       {"ES_SPX 5868.00 within 4 ticks of ZG 5868.82 at 10:30:01"}},
      {"near: coming from above is the other way", kNear4,
       {{0, 5866.00f, kZeroGamma}, {1, 5868.00f, kZeroGamma}, {2, 5872.00f, kZeroGamma},
        {3, 5869.50f, kZeroGamma}},
       {"ES_SPX 5868.00 within 4 ticks of ZG 5868.82 at 10:30:01",
        "ES_SPX 5869.50 within 4 ticks of ZG 5868.82 at 10:30:03"}},
      {"near: re-entering after the quiet time", AlertSettings{false, 1, 60},
       {{0, 5866.00f, kZeroGamma}, {1, 5868.75f, kZeroGamma}, {2, 5866.00f, kZeroGamma},
        {61, 5869.00f, kZeroGamma}},
       {"ES_SPX 5868.75 within 1 tick of ZG 5868.82 at 10:30:01",
        "ES_SPX 5869.00 within 1 tick of ZG 5868.82 at 10:31:01"}},
      {"near: exactly the distance is within", kNear4, {{0, 5867.50f, kOnTick}, {1, 5867.75f, kOnTick}},
       {"ES_SPX 5867.75 within 4 ticks of ZG 5868.75 at 10:30:01"}},
      {"near and crossed on one look", AlertSettings{true, 2, 300},
       {{0, 5866.00f, kZeroGamma}, {1, 5869.00f, kZeroGamma}},
       {"ES_SPX 5869.00 within 2 ticks of ZG 5868.82 at 10:30:01",
        "ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:01"}},
      {"several levels, each on its own, in the levels' order", AlertSettings{true, 0, 0},
       {{0, 5860.00f, {level("MCV", 5875.00f), level("ZG", 5868.82f), level("MPV", 5850.00f)}},
        {1, 5880.00f, {level("MCV", 5875.00f), level("ZG", 5868.82f), level("MPV", 5850.00f)}},
        {2, 5870.00f, {level("MCV", 5875.00f), level("ZG", 5868.82f), level("MPV", 5850.00f)}}},
       {"ES_SPX 5880.00 crossed MCV 5875.00 upward at 10:30:01",
        "ES_SPX 5880.00 crossed ZG 5868.82 upward at 10:30:01",
        "ES_SPX 5870.00 crossed MCV 5875.00 downward at 10:30:02"}},
      {"two levels of one name are two levels", kCross,
       {{0, 5860.00f, {level("L", 5855.00f), level("L", 5865.00f)}},
        {1, 5870.00f, {level("L", 5855.00f), level("L", 5865.00f)}}},
       {"ES_SPX 5870.00 crossed L 5865.00 upward at 10:30:01"}},
      {"a level that disappears starts afresh when it comes back", kCross,
       {{0, 5868.00f, kZeroGamma}, {1, 5870.00f, {}}, {2, 5870.00f, kZeroGamma}, {3, 5867.00f, kZeroGamma}},
       {"ES_SPX 5867.00 crossed ZG 5868.82 downward at 10:30:03"}},
  };
  for (const AlertCase& test : cases) EXPECT_EQ(alertsOf(test), test.alerts) << test.what;
}

// The parts a program, the status and the picture take: each look's alerts
// with the kind, way, level and prices as the text writes them.
TEST(LevelAlerts, GiveEachAlertsPartsBesideItsText) {
  LevelAlerts alerts(AlertSettings{true, 4, 300}, 0.25f);
  struct Expected {
    AlertKind kind;
    AlertDirection direction;
    const char* price;
    int64_t seconds;
  };
  const std::vector<std::pair<float, std::vector<Expected>>> looks = {
      {5866.00f, {}},
      {5869.25f, {{AlertKind::Near, AlertDirection::Up, "5869.25", 1}, {AlertKind::Cross, AlertDirection::Up, "5869.25", 1}}},
      {5872.00f, {}},
      {5868.50f, {{AlertKind::Near, AlertDirection::Down, "5868.50", 3}, {AlertKind::Cross, AlertDirection::Down, "5868.50", 3}}},
  };
  for (std::size_t i = 0; i < looks.size(); ++i) {
    const std::vector<RaisedAlert> raised = alerts.look("ES_SPX", looks[i].first, kZeroGamma, at(int64_t(i)));
    ASSERT_EQ(raised.size(), looks[i].second.size()) << i;
    for (std::size_t j = 0; j < raised.size(); ++j) {
      const Expected& expected = looks[i].second[j];
      EXPECT_EQ(raised[j].kind, expected.kind) << raised[j].text;
      EXPECT_EQ(raised[j].direction, expected.direction) << raised[j].text;
      EXPECT_EQ(raised[j].priceText, expected.price) << raised[j].text;
      EXPECT_EQ(raised[j].price, looks[i].first);
      EXPECT_EQ(raised[j].time, at(expected.seconds));
      EXPECT_EQ(raised[j].ticker, "ES_SPX");
      EXPECT_EQ(raised[j].level, "ZG");
      EXPECT_EQ(raised[j].levelPriceText, "5868.82");
      EXPECT_EQ(raised[j].levelPrice, 5868.82f);
    }
  }
}

TEST(LevelAlerts, WritePricesWithTheTicksPrecisionAndAtLeastCents) {
  const AlertCase eighths{"", kCross, {{0, 5868.00f, kZeroGamma}, {1, 5869.125f, kZeroGamma}}, {}};
  EXPECT_EQ(alertsOf(eighths, 0.125f),
            std::vector<std::string>{"ES_SPX 5869.125 crossed ZG 5868.820 upward at 10:30:01"});
  const AlertCase points{"", kCross, {{0, 5868.00f, kZeroGamma}, {1, 5869.00f, kZeroGamma}}, {}};
  EXPECT_EQ(alertsOf(points, 1.0f), std::vector<std::string>{"ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:01"});
}

TEST(LevelAlerts, KeepTheLatestTwentyAlerts) {
  LevelAlerts alerts(AlertSettings{true, 0, 0}, 0.25f);
  for (int i = 0; i < 25; ++i) alerts.look("ES_SPX", i % 2 == 0 ? 5868.0f : 5869.0f, kZeroGamma, at(i));
  const std::vector<std::string>& recent = alerts.recentAlerts();
  ASSERT_EQ(recent.size(), LevelAlerts::kRecentAlertsKept);
  EXPECT_EQ(recent.front(), "ES_SPX 5869.00 crossed ZG 5868.82 upward at 10:30:05");
  EXPECT_EQ(recent.back(), "ES_SPX 5868.00 crossed ZG 5868.82 downward at 10:30:24");
}

TEST(AlertOptions, AskForCrossingsNearnessBothAndAQuietTime) {
  struct Case {
    std::vector<std::string> arguments;
    bool cross;
    int32_t nearTicks;
    int64_t quiet_s;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{}, false, 0, 300, ""},
      {{"--alert", "cross"}, true, 0, 300, ""},
      {{"--alert", "near=4", "--alert-quiet", "0"}, false, 4, 0, ""},
      {{"--alert", "near=2", "--alert=cross", "--on-alert", "notify"}, true, 2, 300, ""},
      {{"--alert", "near=0"}, false, 0, 300, "--alert takes cross or near=TICKS (TICKS from 1 to 1000), not 'near=0'"},
      {{"--alert", "crossing"}, false, 0, 300,
       "--alert takes cross or near=TICKS (TICKS from 1 to 1000), not 'crossing'"},
      {{"--alert", "cross", "--alert-quiet", "-1"}, true, 0, 300,
       "--alert-quiet takes seconds from 0 to 86400, not '-1'"},
      {{"--on-alert", "notify"}, false, 0, 300,
       "--on-alert runs a program on alerts: give --alert cross or --alert near=TICKS too"},
  };
  for (const Case& test : cases) {
    ChartOptions options;
    std::string error;
    EXPECT_EQ(parseChartOptions(test.arguments, options, error), test.error.empty());
    EXPECT_EQ(error, test.error);
    if (!test.error.empty()) continue;
    EXPECT_EQ(options.alerts.cross, test.cross) << testing::PrintToString(test.arguments);
    EXPECT_EQ(options.alerts.nearTicks, test.nearTicks) << testing::PrintToString(test.arguments);
    EXPECT_EQ(options.alerts.quiet_s, test.quiet_s) << testing::PrintToString(test.arguments);
  }
}

TEST(AlertCommand, AProgramThatCannotBeStartedIsToldOnce) {
  std::vector<std::string> notes;
  {
    AlertCommand command("no-such-program-for-alerts", [&](const std::string& line) { notes.push_back(line); });
    RaisedAlert alert;
    command.run(alert);
    command.run(alert);
    EXPECT_EQ(command.releaseEnded(), 0u);
  }
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].rfind("--on-alert: cannot start 'no-such-program-for-alerts': ", 0), 0u) << notes[0];
}

// The charts of a board share the run's cap: the fifth program asked for,
// by either chart, starts none, and one that cannot start takes no place.
TEST(AlertCommand, TheChartsOfARunShareItsCapOfProgramsRunning) {
  const support::Result<std::string> sleep = support::findProgram("sleep");
  if (!sleep) GTEST_SKIP() << "no sleep program here";
  AlertCommand::RunningCount running;
  std::vector<std::string> notes;
  const auto note = [&](const std::string& line) { notes.push_back(line); };
  AlertCommand es(sleep.value(), note, &running);
  AlertCommand nq(sleep.value(), note, &running);
  AlertCommand broken("no-such-program-for-alerts", note, &running);
  RaisedAlert alert;
  alert.text = "30";  // the program's one argument: seconds to sleep
  for (AlertCommand* command : {&es, &broken, &es, &nq, &es, &nq}) command->run(alert);
  EXPECT_EQ(es.releaseEnded() + nq.releaseEnded(), AlertCommand::kMostRunning);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_NE(notes[1].find("none is started for this alert"), std::string::npos) << notes[1];
  // Programs ended give their places back.
  es.end();
  nq.run(alert);
  EXPECT_EQ(nq.releaseEnded(), 2u);
}

}  // namespace

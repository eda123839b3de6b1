// The record of the service's answers: how each answer is judged from what
// the study said on its call, what is counted where, and when the levels
// count as stale over a clock that runs, stops asking, opens its window late
// or goes back.
#include "tools/chart/run/service_record.h"

#include <gtest/gtest.h>

#include "chart/observed_calls.h"

using namespace chart_tool;
using namespace chart_tool::run;
using namespace observed_calls;

namespace {

struct Judged {
  const char* what;
  HttpAnswer answer;
  std::vector<LogLine> lines;
  AnswerJudgement judgement;
};

TEST(ServiceRecord, JudgesEachAnswerByItsStatusAndWhatTheStudySaidOnItsCall) {
  const char* conversion = "Tarvio Futures Conversion: -> ES  x1.0000  +12.50";
  const std::vector<Judged> cases = {
      {"a profile taken in silence", delivered(200), {}, AnswerJudgement::Taken},
      {"a history taken", delivered(200, kHistoryUrl), {}, AnswerJudgement::HistoryTaken},
      {"a server error", delivered(500), {note(kParseError)}, AnswerJudgement::Refused},
      {"another status, nothing said", delivered(503), {}, AnswerJudgement::Refused},
      {"a history not found", delivered(404, kHistoryUrl), {}, AnswerJudgement::Refused},
      {"the key refused with 200", delivered(200), {alert(kInvalidKey)}, AnswerJudgement::Refused},
      {"a body the study cannot read", delivered(200), {note(kParseError)}, AnswerJudgement::Refused},
      {"an answer to an earlier request, dropped", delivered(200),
       {note("Tarvio: an answer to an earlier request was ignored.")}, AnswerJudgement::Refused},
      {"the futures conversion's messages beside it", delivered(200), {note(conversion)}, AnswerJudgement::Taken},
      {"the futures conversion's alert beside it", delivered(200), {alert("Tarvio Futures Conversion: HTTP 401: no")},
       AnswerJudgement::Taken},
      {"the service's error on the futures conversion beside it", delivered(200),
       {alert("Tarvio Futures Conversion API Error: \"Invalid API Key.\".")}, AnswerJudgement::Taken},
      {"a transfer that failed", failed("Couldn't connect to server"), {}, AnswerJudgement::TransferFailed},
  };
  for (const Judged& judged : cases)
    EXPECT_EQ(judgeAnswer(judged.answer, complaintOf(judged.lines)), judged.judgement) << judged.what;
}

TEST(ServiceRecord, TakesTheStudysLastAlertOverItsNotesAsTheComplaint) {
  const char* conversion = "Tarvio Futures Conversion: sending request (ticker=SPX -> future=ES)...";
  EXPECT_EQ(complaintOf({alert(kInvalidKey), note(kParseError)}), kInvalidKey);
  EXPECT_EQ(complaintOf({note("first"), note(kParseError), note(conversion)}), kParseError);
  EXPECT_EQ(complaintOf({note(conversion)}), "");
  EXPECT_EQ(complaintOf({note(kParseError), alert("Tarvio Futures Conversion: request failed: timeout")}), kParseError);
  EXPECT_EQ(complaintOf({}), "");
}

// Every answer lands in exactly one count; refusals by status and failures
// by reason; the last status and error follow the latest of them.
TEST(ServiceRecord, CountsEveryAnswerOnceByKind) {
  ServiceRecord record;
  record.noteCall(call(0));
  record.noteCall(call(1, delivered(200, kHistoryUrl)));
  record.noteCall(call(2, delivered(200)));
  record.noteCall(call(7, delivered(500), {note(kParseError)}));
  record.noteCall(call(12, delivered(500)));
  record.noteCall(call(17, failed("Timeout was reached"), {alert("There was an error requesting data from the server.")}));
  record.noteCall(call(22, failed("")));
  record.noteCall(call(27, delivered(200), {note(kParseError)}));
  EXPECT_EQ(record.calls(), 8);
  EXPECT_EQ(record.answers(), 1);
  EXPECT_EQ(record.historyAnswers(), 1);
  EXPECT_EQ(record.refusals(), 3);
  EXPECT_EQ(record.failedTransfers(), 2);
  EXPECT_EQ(record.refusalsByStatus(), (std::map<long, int64_t>{{200, 1}, {500, 2}}));
  EXPECT_EQ(record.failuresByReason(),
            (std::map<std::string, int64_t>{{"Timeout was reached", 1}, {"the transfer failed", 1}}));
  EXPECT_EQ(record.lastHttpStatus(), 200);
  EXPECT_EQ(record.lastError(), kParseError);
  EXPECT_EQ(record.lastGoodAnswer(), at(2));

  record.noteCall(call(32, delivered(500), {note(kParseError)}));
  EXPECT_EQ(record.lastError(), std::string("HTTP 500: ") + kParseError);
  record.noteCall(call(37, delivered(502)));
  EXPECT_EQ(record.lastError(), "HTTP 502");
  record.noteCall(call(42, failed("Couldn't connect to server")));
  EXPECT_EQ(record.lastHttpStatus(), 502);  // a failed transfer has no status
  EXPECT_EQ(record.lastError(), "Couldn't connect to server");
  // An alert on a call without an answer is an error too (a setting, the conversion).
  record.noteCall(call(43, std::nullopt, {alert("Tarvio Futures Conversion: HTTP 401: refused")}));
  EXPECT_EQ(record.lastError(), "Tarvio Futures Conversion: HTTP 401: refused");
}

TEST(ServiceRecord, KeepsTheAlertThatHaltedTheRequestsUntilTheyGoAgain) {
  ServiceRecord record;
  // The conversion's alert on the same call is not what halted them.
  ObservedCall halting =
      call(2, delivered(200), {alert(kInvalidKey), alert("Tarvio Futures Conversion: request failed: timeout")});
  halting.halted = true;
  record.noteCall(halting);
  EXPECT_TRUE(record.halted());
  EXPECT_EQ(record.haltReason(), kInvalidKey);
  ObservedCall later = call(3, std::nullopt, {alert("Tarvio Futures Conversion: request failed: timeout")});
  later.halted = true;
  record.noteCall(later);
  EXPECT_EQ(record.haltReason(), kInvalidKey);  // the halting call's alert, not a later one
  record.noteCall(call(4));                     // recalculated: asking again
  EXPECT_FALSE(record.halted());
  EXPECT_EQ(record.haltReason(), "");
}

enum class Came { Nothing, Good, History, Refused, Failed };

struct Step {
  int at_s;
  Came came = Came::Nothing;
  bool windowOpen = true;
  bool halted = false;
  int64_t interval_s = 5;
};

struct Staleness {
  const char* what;
  std::vector<Step> steps;
  bool stale;
  std::optional<int64_t> age_s;
};

ObservedCall observed(const Step& step) {
  ObservedCall observed = call(step.at_s);
  observed.windowOpen = step.windowOpen;
  observed.halted = step.halted;
  observed.interval_s = step.interval_s;
  if (step.came == Came::Good) observed.answer = delivered(200);
  if (step.came == Came::History) observed.answer = delivered(200, kHistoryUrl);
  if (step.came == Came::Refused) observed.answer = delivered(500);
  if (step.came == Came::Failed) observed.answer = failed("Timeout was reached");
  return observed;
}

TEST(ServiceRecord, CallsTheLevelsStaleAfterThreeIntervalsWithoutAGoodAnswerWhileAsking) {
  const std::vector<Staleness> cases = {
      {"just under three intervals", {{0, Came::Good}, {14}}, false, 14},
      {"three intervals", {{0, Came::Good}, {15}}, true, 15},
      {"refusals and failures do not refresh", {{0, Came::Good}, {5, Came::Refused}, {10, Came::Failed}, {15}}, true, 15},
      {"a good answer again is live", {{0, Came::Good}, {20}, {21, Came::Good}}, false, 0},
      {"no answer yet: counted from the first asking call", {{0}, {14}}, false, std::nullopt},
      {"no answer for three intervals", {{0}, {15}}, true, std::nullopt},
      {"a history is no good answer", {{0, Came::History}, {15}}, true, std::nullopt},
      {"outside the window nothing is stale", {{0, Came::Good}, {600, Came::Nothing, false}}, false, 600},
      {"halted is not stale", {{0, Came::Good}, {600, Came::Nothing, true, true}}, false, 600},
      {"a window that opens on old levels gets its chance",
       {{0, Came::Good}, {10, Came::Nothing, false}, {900, Came::Nothing, false}, {901}, {915}}, false, 915},
      {"and is stale three intervals after it opened",
       {{0, Came::Good}, {10, Came::Nothing, false}, {901}, {916}}, true, 916},
      {"a longer interval waits longer", {{0, Came::Good, true, false, 60}, {179, Came::Nothing, true, false, 60}},
       false, 179},
      {"a longer interval, three of them", {{0, Came::Good, true, false, 60}, {180, Came::Nothing, true, false, 60}},
       true, 180},
      {"an interval of 0 counts as a second", {{0, Came::Good, true, false, 0}, {3, Came::Nothing, true, false, 0}},
       true, 3},
      {"a clock that went back", {{100, Came::Good}, {50}}, false, 0},
  };
  for (const Staleness& c : cases) {
    ServiceRecord record;
    for (const Step& step : c.steps) record.noteCall(observed(step));
    EXPECT_EQ(record.stale(), c.stale) << c.what;
    EXPECT_EQ(record.age_s(), c.age_s) << c.what;
  }
}

}  // namespace

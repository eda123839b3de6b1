// The host's own note of a status the study cannot see: its text (path,
// status, the body's first bytes escaped, never a header) and when an
// instance writes it (once per change of status, before the study's lines).
#include "host/answer_status_note.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/scripted_transport.h"
#include "host/study_instance.h"

using namespace chart_host;

namespace {

constexpr const char* kDistinctiveKey = "k3y-Zq81-never-written";

HttpAnswer delivered(long status, std::string body, std::string url = "https://levels.example/v2/x") {
  HttpAnswer answer;
  answer.text = std::move(body);
  answer.url = std::move(url);
  answer.delivered = true;
  answer.status = status;
  return answer;
}

TEST(AnswerStatusNoteTest, SaysStatusPathAndTheBodysFirstBytes) {
  struct Case {
    const char* what;
    HttpAnswer answer;
    const char* expected;
  };
  const std::string longBody = "{\"error\": \"" + std::string(300, 'x') + "\"}";
  const Case cases[] = {
      {"text body", delivered(500, "Internal Server Error\n", "https://api.example/v2/sierra/SPX/classic/full"),
       R"(Host: the service answered HTTP 500 for /v2/sierra/SPX/classic/full: "Internal Server Error\n")"},
      {"query kept, quotes escaped", delivered(404, R"({"error":"not found"})", "https://api.example/v2/f?s=ES&d=1"),
       R"(Host: the service answered HTTP 404 for /v2/f?s=ES&d=1: "{\"error\":\"not found\"}")"},
      {"control and non-ASCII bytes", delivered(401, std::string("a\tb\r\x01\x7F\xC3\xA9\\", 9)),
       R"(Host: the service answered HTTP 401 for /v2/x: "a\tb\r\x01\x7F\xC3\xA9\\")"},
      {"empty body", delivered(302, "EMPTY_RESPONSE"), "Host: the service answered HTTP 302 for /v2/x: empty body"},
      {"no path", delivered(503, "busy", "https://api.example"),
       R"(Host: the service answered HTTP 503 for /: "busy")"},
  };
  for (const Case& c : cases) EXPECT_EQ(answerStatusNote(c.answer), c.expected) << c.what;

  const std::string cut = answerStatusNote(delivered(500, longBody));
  const std::string shown = "\"{\\\"error\\\": \\\"" + std::string(kNotedBodyBytes - 11, 'x') + "\"";
  EXPECT_NE(cut.find(shown + " (+" + std::to_string(longBody.size() - kNotedBodyBytes) + " bytes not shown)"),
            std::string::npos)
      << cut;
}

void logEveryAnswer(HostStudyInterface& sc) {
  if (sc.httpResponseRequestId == 0) return;
  HostString text{};
  assignHostString(text, "study read the answer");
  sc.ops.HostAddMessageToLog(text, 0);
  releaseHostString(text);
}

// Sends one request as the study does, with the key in its header.
void sendRequest(StudyInstance& instance, const char* url) {
  instance.runCallWith({}, [url](HostStudyInterface& sc) {
    HostString urlText{}, body{};
    assignHostString(urlText, url);
    HttpHeader header{};
    assignHostString(header.name, "Authorization");
    assignHostString(header.value, (std::string("Basic ") + kDistinctiveKey).c_str());
    EXPECT_NE(sc.ops.HostMakeHttpRequest(urlText, body, &header, 1), 0);
    releaseHostString(header.name);
    releaseHostString(header.value);
    releaseHostString(urlText);
  });
}

TEST(AnswerStatusNoteTest, AnInstanceNotesEachChangeOfStatusOnceBeforeTheStudysLines) {
  struct Step {
    long status;  // 0: a failed transfer
    bool noted;
  };
  const Step steps[] = {
      {200, false}, {500, true},  {500, false}, {0, false},   {500, false}, {401, true},
      {401, false}, {0, false},   {200, false}, {500, true},  {404, true},  {200, false},
  };
  Chart chart;
  StudyInstance instance(chart, logEveryAnswer, 1);
  auto transport = std::make_shared<ScriptedTransport>();
  instance.setHttpTransport(transport);
  std::size_t step = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(step++) + ", status " + std::to_string(s.status));
    instance.log().clear();
    sendRequest(instance, "https://levels.example/v2/sierra/SPX/classic/full?x=1");
    if (s.status == 0) {
      transport->fail(step % 2 == 0 ? TransferFailure::AnswerCutShort : TransferFailure::ServiceNotReached);
    } else {
      transport->answer("{\"message\": \"body of " + std::to_string(s.status) + "\"}", s.status);
    }
    instance.runCall({});
    const std::vector<LogLine>& lines = instance.log().lines();
    ASSERT_EQ(lines.size(), s.noted ? 2u : 1u);
    EXPECT_EQ(lines.back().text, "study read the answer");
    if (!s.noted) continue;
    const LogLine& note = lines.front();
    EXPECT_FALSE(note.alert);
    EXPECT_EQ(note.text.rfind("Host: the service answered HTTP " + std::to_string(s.status) +
                                  " for /v2/sierra/SPX/classic/full?x=1: \"{\\\"message\\\"",
                              0),
              0u)
        << note.text;
    EXPECT_EQ(note.text.find(kDistinctiveKey), std::string::npos);
  }
}

}  // namespace

// The one rule for what may stand in a request's header lines: control bytes
// refused wherever they stand, the tab allowed in values only, and names that
// would end early refused.
#include "host/header_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace chart_host;

namespace {

using namespace std::string_literals;

TEST(HeaderLine, RefusesEveryControlByteButTheTab) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool control = byte < 0x20 || byte == 0x7f;
    const std::string value = "a"s + static_cast<char>(byte) + "b";
    EXPECT_EQ(fitsOnOneLine(value), !control || byte == '\t') << "byte " << byte;
  }
}

TEST(HeaderLine, TellsHeaderNamesAndValues) {
  struct Case {
    std::string text;
    bool fitsOnOneLine;
    bool isHeaderName;
  };
  const Case cases[] = {
      {"Authorization", true, true},
      {"X-Tarvio-Plugin-Version", true, true},
      {"", true, false},
      {"Basic a b", true, false},
      {"Basic\tkey", true, false},
      {"X-a: b", true, false},
      {"X-a;", true, false},
      {"v\r\nX-injected: 1", false, false},
      {"v\nX-b", false, false},
      {"v\r", false, false},
      {"cut\0short"s, false, false},
      {"bell\a", false, false},
      {"del\x7f", false, false},
      {"caf\xc3\xa9", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fitsOnOneLine(c.text), c.fitsOnOneLine) << c.text;
    EXPECT_EQ(isHeaderName(c.text), c.isHeaderName) << c.text;
  }
}

TEST(HeaderLine, ChecksEveryHeaderOfARequest) {
  using Headers = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    Headers headers;
    bool fit;
  };
  const Case cases[] = {
      {{}, true},
      {{{"Accept", "application/json"}, {"X-Empty", ""}, {"X-Tab", "a\tb"}}, true},
      {{{"Accept", "application/json"}, {"X-a", "v\r\nX-injected: 1"}}, false},
      {{{"Accept", "application/json"}, {"", "v"}}, false},
      {{{"X-a\nX-b", "v"}, {"Accept", "application/json"}}, false},
      {{{"X-a;b", "v"}}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(headersFitTheirLines(c.headers), c.fit) << c.headers.size() << " headers";
  }
}

}  // namespace

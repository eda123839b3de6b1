// Outside text made safe for one log line.
#include "study/loggable_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvio;

namespace {

struct LoggableCase {
  const char* name;
  std::string text;
  std::size_t limit;
  std::string shown;
};

TEST(LoggableText, EscapesControlsAndBrokenUtf8AndCutsLongTexts) {
  const LoggableCase cases[] = {
      {"plain", "ERROR: quota reached", 300, "ERROR: quota reached"},
      {"line breaks and tab", "a\nb\r\tc", 300, "a\\nb\\r\\tc"},
      {"escape sequence and delete", "\x1b[31mred\x7f", 300, "\\x1b[31mred\\x7f"},
      {"UTF-8 kept", "5 800 \xe2\x82\xac \xf0\x9f\x93\x88", 300, "5 800 \xe2\x82\xac \xf0\x9f\x93\x88"},
      {"lone continuation and cut sequence", "a\x80z\xe2\x82", 300, "a\\x80z\\xe2\\x82"},
      {"overlong and surrogate", "\xc0\xaf\xed\xa0\x80", 300, "\\xc0\\xaf\\xed\\xa0\\x80"},
      {"C1 control (CSI)", "\xc2\x9b" "2J \x9b", 300, "\\xc2\\x9b2J \\x9b"},
      {"cut with the count", std::string(10, 'x'), 4, "xxxx... (6 more bytes)"},
      {"never inside a sequence", "ab\xe2\x82\xac", 4, "ab... (3 more bytes)"},
      {"empty", "", 300, ""},
  };
  for (const LoggableCase& c : cases) {
    EXPECT_EQ(loggableText(c.text.c_str(), c.limit), c.shown) << c.name;
  }
  EXPECT_EQ(loggableText(nullptr), "");
}

}  // namespace

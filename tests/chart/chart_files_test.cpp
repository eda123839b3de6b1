// What a person feeds the chart program: dates and times, bar files in both
// layouts, settings files, and input values typed by name.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tools/chart/inputs/bar_file.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/inputs/settings_file.h"
#include "support/temporary_folder.h"
#include "support/study_fixture.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::inputs;

namespace {

TEST(CalendarText, ReadsAndWritesDatesAndTimes) {
  EXPECT_EQ(support::readDate("2026-03-02"), kMonday2026_03_02);
  EXPECT_EQ(support::readDate("2026/03/02"), kMonday2026_03_02);
  EXPECT_EQ(support::readDateTime("2026-03-02 09:30"), atTimeOfDay(kMonday2026_03_02, 9, 30));
  EXPECT_EQ(support::readDateTime("2026-03-02T09:30:15"), atTimeOfDay(kMonday2026_03_02, 9, 30, 15));
  EXPECT_EQ(support::readTimeOfDay("23:59:59.5"), 86399500000LL);
  EXPECT_EQ(support::formatDateTime(atTimeOfDay(kMonday2026_03_02, 9, 5, 7)), "2026-03-02 09:05:07");
  EXPECT_EQ(support::formatDateTime(support::readDate("2024-02-29").value()), "2024-02-29 00:00:00");
  EXPECT_EQ(support::formatDateTime(0), "1899-12-30 00:00:00");
  for (const char* bad : {"2026-02-29", "2026-13-01", "2026-3-2", "2026-03-02x", "2026/03-02", "", "1899-12-31"})
    EXPECT_FALSE(support::readDate(bad)) << bad;
  for (const char* bad : {"24:00", "09:60", "9:30", "09:30:", "09:30:00.", "09:30:00.1234567", "09:30 "})
    EXPECT_FALSE(support::readTimeOfDay(bad)) << bad;
}

TEST(BarFile, ReadsBothLayouts) {
  std::string error;
  std::optional<BarText> read =
      readBarText("Date, Time, Open, High, Low, Last, Volume, NumberOfTrades, BidVolume, AskVolume\r\n"
                  "2026/03/02, 09:30:00, 5800.25, 5801.5, 5799.75, 5801, 1250, 310, 600, 650\r\n"
                  "\r\n"
                  "2026/03/02, 09:31:00, 5801, 5802, 5800, 5800.5, 900, 200, 400, 500\r\n",
                  error);
  ASSERT_TRUE(read) << error;
  ASSERT_EQ(read->bars.size(), 2u);
  EXPECT_FALSE(read->utc);
  EXPECT_EQ(read->bars[0].dateTime, atTimeOfDay(kMonday2026_03_02, 9, 30));
  EXPECT_EQ(read->bars[0].close, 5801.0f);
  EXPECT_EQ(read->bars[1].volume, 900.0f);

  read = readBarText("datetime,open,high,low,close,volume\n2026-03-02T14:30:00Z,1,2,0.5,1.5,10\n", error);
  ASSERT_TRUE(read) << error;
  EXPECT_TRUE(read->utc);
  EXPECT_EQ(read->bars[0].dateTime, atTimeOfDay(kMonday2026_03_02, 14, 30));
}

TEST(BarFile, NamesTheFirstLineThatBreaksARule) {
  const std::string plain = "datetime,open,high,low,close,volume\n2026-03-02 09:30,1,2,0.5,1.5,10\n";
  const struct {
    std::string text;
    const char* says;
  } cases[] = {
      {"", "the file is empty"},
      {"time,price\n", "1: unknown header"},
      {"datetime,open,high,low,close,volume\n", "1: no bars after the header"},
      {plain + "2026-03-02 09:31,1,2,0.5\n", "3: expected 6 fields, found 4"},
      {plain + "2026-03-02 25:00,1,2,0.5,1.5,10\n", "3: '2026-03-02 25:00' is not a date and time"},
      {plain + "2026-03-02 09:31,1,x,0.5,1.5,10\n", "3: the high 'x' is not a number"},
      {plain + "2026-03-02 09:31,1,2,0.5,1.5,1e999\n", "3: the volume '1e999' is not a number"},
      {plain + "2026-03-02 09:31,1,2,0.5,1.5,nan\n", "3: the volume 'nan' is not a number"},
      {plain + "2026-03-02 09:31,3,2,0.5,1.5,10\n", "3: the open and close must lie between"},
      {plain + "2026-03-02 09:31,1,2,0.5,1.5,-1\n", "3: the volume is negative"},
      {plain + "2026-03-02T09:31Z,1,2,0.5,1.5,10\n", "3: either every time ends in Z"},
      {"Date, Time, Open, High, Low, Last, Volume\n2026-03-02, 9:30, 1, 2, 0.5, 1.5, 10\n", "2: '9:30' is not a time"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(readBarText(c.text, error)) << c.says;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

// Editors and spreadsheets may start a file with a UTF-8 byte-order mark;
// the readers see the text after it.
TEST(TextFiles, ReadAFileThatStartsWithAByteOrderMark) {
  const test_files::TemporaryFolder folder;
  const std::string mark = "\xEF\xBB\xBF";
  std::ofstream(folder.file("bars.csv")) << mark << "datetime,open,high,low,close,volume\n"
                                         << "2026-03-02 09:30,1,2,0.5,1.5,10\n";
  std::ofstream(folder.file("settings.json")) << mark << R"({"Ticker": "SPX"})";
  std::ofstream(folder.file("mark-only.csv")) << mark;
  std::string error;
  const std::optional<BarText> bars = readBarFile(folder.file("bars.csv"), error);
  ASSERT_TRUE(bars) << error;
  EXPECT_EQ(bars->bars.size(), 1u);
  const std::optional<InputSettings> settings = readSettingsFile(folder.file("settings.json"), error);
  ASSERT_TRUE(settings) << error;
  EXPECT_EQ(*settings, (InputSettings{{"Ticker", "SPX"}}));
  EXPECT_FALSE(readBarFile(folder.file("mark-only.csv"), error));
  EXPECT_NE(error.find("mark-only.csv:the file is empty"), std::string::npos) << error;
}

TEST(SettingsFile, KeepsNumbersAsWrittenAndRefusesWhatIsNotAValue) {
  std::string error;
  const std::optional<InputSettings> settings =
      readSettingsText(R"({"Ticker": "SPX", "Set Additive": 1.10, "Show Zero Gamma": false, "7": 1})", error);
  ASSERT_TRUE(settings) << error;
  EXPECT_EQ(*settings, (InputSettings{
                          {"Ticker", "SPX"}, {"Set Additive", "1.10"}, {"Show Zero Gamma", "no"}, {"7", "1"}}));
  for (const char* bad : {"[1]", "{\"a\": null}", "{\"a\": {}}", "{\"a\": 1} x", "{\"a\": 1"}) {
    EXPECT_FALSE(readSettingsText(bad, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}

class InputAssignment : public testing::Test {
 protected:
  StudyFixture study;
  std::string error;
  bool set(const char* name, const char* value) { return assignInput(study.instance, name, value, error); }
  HostInput& input(const char* name) { return study.instance.input(findInput(study.instance, name, error)); }
};

TEST_F(InputAssignment, ReadsEachKindOfValue) {
  ASSERT_TRUE(set("package", "state")) << error;
  EXPECT_EQ(input("Package").intValue, 1);
  ASSERT_TRUE(set("Greek", "3")) << error;
  EXPECT_EQ(input("Greek").intValue, 3);
  ASSERT_TRUE(set("Ticker", "NQ_NDX")) << error;  // the name before its explanation
  EXPECT_STREQ(hostStringText(input("Ticker").textValue), "NQ_NDX");
  ASSERT_TRUE(set("Set Additive Futures Premium", "12.5")) << error;
  EXPECT_EQ(input("Set Additive Futures Premium").floatValue, 12.5f);
  ASSERT_TRUE(set("Interval", "10")) << error;  // any part of one name
  EXPECT_EQ(input("Request Interval").intValue, 10);
  ASSERT_TRUE(set("Show Zero Gamma", "off")) << error;
  EXPECT_EQ(input("Show Zero Gamma").intValue, 0);
  ASSERT_TRUE(set("Zero Gamma Color", "#FFA501")) << error;
  EXPECT_EQ(static_cast<HostColor>(input("Zero Gamma Color").intValue), rgb(255, 165, 1));
  ASSERT_TRUE(set("Request Start Time", "08:15")) << error;
  EXPECT_DOUBLE_EQ(input("Request Start Time").dateTimeValue, (8 * 60 + 15) / 1440.0);
  ASSERT_TRUE(set("Time Zone", "9")) << error;
  EXPECT_EQ(input("Time Zone").intValue, 9);
  ASSERT_TRUE(set("1", "my-key")) << error;  // by index
  EXPECT_STREQ(hostStringText(study.instance.input(1).textValue), "my-key");
}

// An exact option text and an index come before a beginning ("0" is the
// first option, not "0dte ..."); a zone's name is its table index.
TEST_F(InputAssignment, TakesAnOptionsOwnBeginningAndAZonesName) {
  const struct {
    const char* name;
    const char* value;
    int32_t index;
  } cases[] = {
      {"Greek", "0dte Gamma", 3},  {"Greek", "0DTE GAMMA (state package only)", 3},
      {"Greek", "1dte d", 6},      {"Greek", "0dte gex", 1},
      {"Greek", "0", 0},           {"Greek", "1", 1},
      {"Package", "st", 1},        {"Package", "c", 0},
      {"Profile Direction", "cent", 2}, {"Profile Direction", "L", 1},
      {"Time Zone", "Chicago", 6}, {"Time Zone", "america/los_angeles", 3},
      {"Time Zone", "UTC", 9},     {"Time Zone", "27", 27},
      {"Time Zone", "etc/gmt-12", 26},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(set(c.name, c.value)) << c.name << "=" << c.value << ": " << error;
    EXPECT_EQ(input(c.name).intValue, c.index) << c.name << "=" << c.value;
  }
}

TEST_F(InputAssignment, RefusesBadValuesAndLeavesTheInputAsItWas) {
  const struct {
    const char* name;
    const char* value;
    const char* says;
  } cases[] = {
      {"Package", "Gold", "takes one of 'Classic', 'State' (or its index from 0), not 'Gold'"},
      {"Package", "2", "takes one of"},
      {"Request Interval", "5s", "takes a whole number"},
      {"Request Interval", "99999999999", "takes a whole number"},
      {"Set Additive Futures Premium", "inf", "takes a number"},
      {"Show Zero Gamma", "maybe", "takes yes or no"},
      {"Zero Gamma Color", "#12345", "takes a colour as #RRGGBB"},
      {"Zero Gamma Color", "#12345G", "takes a colour as #RRGGBB"},
      {"Request Start Time", "25:00", "takes a time of day"},
      {"Time Zone", "-1", "takes a time-zone index from 0 to 28"},
      {"Time Zone", "7x", "takes a time-zone index from 0 to 28 (7 is New York) or a zone's name"},
      {"Time Zone", "Chicgo",
       "input 'Time Zone': no time zone is named 'Chicgo'; did you mean 'Chicago' or 'America/Chicago'?"},
      {"Greek", "0DTE", "input 'Greek' has several options beginning with '0DTE': '0dte Gex', "
                        "'0dte Gamma (State Package Only)', '0dte Delta (State Package Only)'"},
      {"Profile Direction", "Up", "takes one of 'Right', 'Left', 'Center' (or its index from 0), not 'Up'"},
      {"Tickr", "SPX", "no input is named 'Tickr'; did you mean 'Ticker"},
      {"Major", "x", "names several inputs"},
      {"500", "x", "no input has the index 500"},
  };
  const HostInput before = input("Package");
  for (const auto& c : cases) {
    error.clear();
    EXPECT_FALSE(set(c.name, c.value)) << c.name << "=" << c.value;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
  EXPECT_EQ(input("Package").intValue, before.intValue);
  EXPECT_EQ(input("Request Interval").intValue, 5);
  EXPECT_EQ(input("Zero Gamma Color").intValue, static_cast<int32_t>(rgb(255, 165, 0)));
}

}  // namespace

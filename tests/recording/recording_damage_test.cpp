// Whatever is wrong with a recording, readRecording says it in one line
// naming the file and line: never a crash, never a silent wrong answer. A
// last index line cut by a killed run is no damage: what came before is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "recording/recording_test_folder.h"
#include "tools/recording/checksum.h"
#include "tools/recording/recorded_exchange.h"

using namespace recording;
using recording_test::WrittenRecording;

namespace {

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Replaces the first `from` in index line `line` (from 1) with `to`.
std::function<void(WrittenRecording&)> editLine(int line, std::string from, std::string to) {
  return [=](WrittenRecording& recorded) {
    std::vector<std::string> lines = recorded.indexLines();
    std::string& edited = lines.at(line - 1);
    const std::size_t at = edited.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << edited;
    edited.replace(at, from.size(), to);
    writeText(recorded.indexPath(), joined(lines));
  };
}

std::function<void(WrittenRecording&)> replaceLines(std::function<void(std::vector<std::string>&)> change) {
  return [=](WrittenRecording& recorded) {
    std::vector<std::string> lines = recorded.indexLines();
    change(lines);
    writeText(recorded.indexPath(), joined(lines));
  };
}

TEST(RecordingDamage, EachKindIsOneLineNamingTheFileAndLine) {
  const std::string body1 = "{\"body\": 1}";
  const std::string otherBody1 = "{\"body\": 9}";
  struct Case {
    const char* what;
    std::function<void(WrittenRecording&)> damage;
    std::string error;  // after "FOLDER/"
  };
  const Case cases[] = {
      {"a body file missing", [](WrittenRecording& r) { std::filesystem::remove(r.file("bodies/000002.body")); },
       "bodies/000002.body: missing (named by FOLDER/exchanges.jsonl line 3)"},
      {"a body longer than its line says", [](WrittenRecording& r) { writeText(r.file("bodies/000001.body"), "{\"body\": 10}"); },
       "bodies/000001.body: 12 bytes where FOLDER/exchanges.jsonl line 2 says 11"},
      {"a body of the right size but other bytes",
       [&](WrittenRecording& r) { writeText(r.file("bodies/000001.body"), otherBody1); },
       "bodies/000001.body: checksum " + checksumText(otherBody1) + " where FOLDER/exchanges.jsonl line 2 says " +
           checksumText(body1)},
      {"a line cut in the middle, not the last", replaceLines([](auto& lines) { lines[2].resize(30); }),
       "exchanges.jsonl line 3: not JSON (error at byte 31)"},
      {"a line that is not JSON", replaceLines([](auto& lines) { lines[1] = "exchange two"; }),
       "exchanges.jsonl line 2: not JSON (error at byte 1)"},
      {"a line that is JSON but no object", replaceLines([](auto& lines) { lines[3] = "[1, 2]"; }),
       "exchanges.jsonl line 4: not a JSON object"},
      {"a line of deeply nested lists",
       replaceLines([](auto& lines) { lines[2] = std::string(200000, '[') + std::string(200000, ']'); }),
       "exchanges.jsonl line 3: not a JSON object"},
      {"an empty line", replaceLines([](auto& lines) { lines.insert(lines.begin() + 2, ""); }),
       "exchanges.jsonl line 3: not JSON (error at byte 1)"},
      {"a field missing", editLine(3, "\"status\":200,", ""), "exchanges.jsonl line 3: no \"status\""},
      {"a field of the wrong kind", editLine(2, "\"delivered\":true", "\"delivered\":\"yes\""),
       "exchanges.jsonl line 2: \"delivered\" is not true or false"},
      {"a time that is no time", editLine(4, "10:15:15.123456", "10:75:15.123456"),
       "exchanges.jsonl line 4: \"requestedAt\" is not a time as YYYY-MM-DD HH:MM:SS.ffffff"},
      {"a header malformed", editLine(2, "\"headers\":[[", "\"headers\":[[1,"),
       "exchanges.jsonl line 2: \"headers\" is not a list of [name, value] texts"},
      {"a body file outside the recording", editLine(2, "bodies/000001.body", "../../outside.body"),
       "exchanges.jsonl line 2: \"bodyFile\" of exchange 1 is not bodies/000001.body"},
      {"a recording of a later version", editLine(1, "\"version\":2", "\"version\":3"),
       "exchanges.jsonl line 1: the header line: a recording of version 3; this program reads versions 1 to 2"},
      {"a version beyond any number", editLine(1, "\"version\":2", "\"version\":4294967297"),
       "exchanges.jsonl line 1: the header line: \"version\" is not a whole number, 0 or more"},
      {"the header line missing", replaceLines([](auto& lines) { lines.erase(lines.begin()); }),
       "exchanges.jsonl line 1: the header line: no \"version\""},
      {"the header line damaged", editLine(1, "\"clock\":\"simulated\"", "\"clock\":\"sundial\""),
       "exchanges.jsonl line 1: the header line: \"clock\" is not simulated or real"},
      {"an empty index", [](WrittenRecording& r) { writeText(r.indexPath(), ""); },
       "exchanges.jsonl line 1: the header line is missing (an empty index)"},
      {"the header cut", [](WrittenRecording& r) { writeText(r.indexPath(), r.indexLines()[0]); },
       "exchanges.jsonl line 1: the header line was cut (the recording run ended mid-write)"},
      {"exchanges swapped", replaceLines([](auto& lines) { std::swap(lines[1], lines[2]); }),
       "exchanges.jsonl line 2: exchange 2 where exchange 1 was due (numbers out of order)"},
      {"an exchange left out", replaceLines([](auto& lines) { lines.erase(lines.begin() + 2); }),
       "exchanges.jsonl line 3: exchange 3 where exchange 2 was due (numbers out of order)"},
      {"an exchange twice", replaceLines([](auto& lines) { lines.insert(lines.begin() + 2, lines[1]); }),
       "exchanges.jsonl line 3: exchange 1 where exchange 2 was due (numbers out of order)"},
      {"the index missing", [](WrittenRecording& r) { std::filesystem::remove(r.indexPath()); },
       "exchanges.jsonl: cannot be read (is FOLDER a recording?)"},
      {"the bars missing", [](WrittenRecording& r) { std::filesystem::remove(r.file(kBarsFileName)); },
       "bars.csv: missing"},
  };
  for (const Case& c : cases) {
    WrittenRecording recorded(4);
    c.damage(recorded);
    std::string expected = recorded.folder() + "/" + c.error;
    for (std::size_t at = expected.find("FOLDER"); at != std::string::npos; at = expected.find("FOLDER"))
      expected.replace(at, 6, recorded.folder());
    Recording read;
    std::string error;
    EXPECT_FALSE(readRecording(recorded.folder(), read, error)) << c.what;
    EXPECT_EQ(error, expected) << c.what;
  }
}

TEST(RecordingDamage, ALastLineCutMidWriteLeavesTheExchangesBeforeIt) {
  for (const std::size_t kept : {std::size_t{0}, std::size_t{1}, std::size_t{40}}) {
    WrittenRecording recorded(4);
    std::string text = test_text::readText(recorded.indexPath());
    text.resize(text.size() - recorded.indexLines()[4].size() - 1 + kept);
    writeText(recorded.indexPath(), text);
    Recording read;
    std::string error;
    if (kept == 0) {
      // Cut right after the line feed: nothing of line 5 was written.
      ASSERT_TRUE(readRecording(recorded.folder(), read, error)) << error;
      EXPECT_EQ(read.note, "");
    } else {
      ASSERT_TRUE(readRecording(recorded.folder(), read, error)) << error;
      EXPECT_EQ(read.note, recorded.indexPath() + " line 5 was cut (the recording run ended mid-write); read up to line 4");
    }
    ASSERT_EQ(read.exchanges.size(), 3u) << kept;
    EXPECT_EQ(read.exchanges.back().body, "{\"body\": 3}");
  }
}

}  // namespace

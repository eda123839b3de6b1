// Replayed bodies in name order and the request record's JSON lines.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>

#include "support/standin_process.h"
#include "support/text_files.h"
#include "tools/standin/replay_book.h"
#include "tools/standin/request_record.h"

namespace standin {
namespace {

using standin_test::ScratchFolder;

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

TEST(ReplayBook, ServesAFileForEveryRequest) {
  ScratchFolder folder;
  writeFile(folder.file("a"), std::string("x\0y", 3));
  ReplayBook book;
  ASSERT_EQ(book.load(Endpoint::Futures, folder.file("a")), "");
  EXPECT_TRUE(book.has(Endpoint::Futures));
  EXPECT_FALSE(book.has(Endpoint::Profile));
  EXPECT_EQ(book.next(Endpoint::Futures), std::string("x\0y", 3));
  EXPECT_EQ(book.next(Endpoint::Futures), std::string("x\0y", 3));
  EXPECT_FALSE(book.next(Endpoint::Profile));
}

TEST(ReplayBook, ServesADirectorysFilesInNameOrderThenRepeatsTheLast) {
  ScratchFolder folder;
  writeFile(folder.file("b.json"), "B");
  writeFile(folder.file("a.json"), "A");
  writeFile(folder.file("c.json"), "");
  std::filesystem::create_directory(folder.file("d-subfolder"));
  ReplayBook book;
  ASSERT_EQ(book.load(Endpoint::Profile, folder.path()), "");
  for (const char* expected : {"A", "B", "", "", ""}) EXPECT_EQ(book.next(Endpoint::Profile), expected);
}

TEST(ReplayBook, RefusesMissingPathsAndEmptyDirectories) {
  ScratchFolder folder;
  ReplayBook book;
  EXPECT_NE(book.load(Endpoint::Profile, folder.file("missing")), "");
  EXPECT_NE(book.load(Endpoint::Profile, folder.path()), "");
  EXPECT_FALSE(book.has(Endpoint::Profile));
}

TEST(RequestRecord, WritesOneJsonLinePerRequest) {
  ReceivedRequest request;
  request.method = "POST";
  request.target = "/v2/sierra/hist/SPX/classic/gex_full/majors/7?x=1";
  request.headers = {{"Authorization", "Basic k"}, {"X-Odd", "a\"b\\c\x01\xff"}};
  request.body = "{\"start\": 1,\n \"end\": 2}";
  const std::string line = recordLine(request, FaultMode::Truncated);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  rapidjson::Document document;
  document.Parse(line.c_str());
  ASSERT_TRUE(document.IsObject()) << line;
  EXPECT_STREQ(document["method"].GetString(), "POST");
  EXPECT_STREQ(document["path"].GetString(), "/v2/sierra/hist/SPX/classic/gex_full/majors/7?x=1");
  ASSERT_EQ(document["headers"].Size(), 2u);
  EXPECT_STREQ(document["headers"][0][0].GetString(), "Authorization");
  EXPECT_STREQ(document["headers"][1][1].GetString(), "a\"b\\c\x01\\xff");  // 0xff read as the text \xff
  EXPECT_STREQ(document["body"].GetString(), "{\"start\": 1,\n \"end\": 2}");
  EXPECT_STREQ(document["fault"].GetString(), "truncated");

  ScratchFolder folder;
  std::string problem;
  auto record = RequestRecord::open(folder.file("record.jsonl"), problem);
  ASSERT_TRUE(record) << problem;
  record->write(request, FaultMode::None);
  record->write(request, FaultMode::Slow);
  const std::string content = test_text::readText(folder.file("record.jsonl"));
  EXPECT_EQ(content, recordLine(request, FaultMode::None) + "\n" + recordLine(request, FaultMode::Slow) + "\n");
  EXPECT_FALSE(RequestRecord::open(folder.file("no/such/folder/record"), problem));
  EXPECT_NE(problem, "");
}

}  // namespace
}  // namespace standin

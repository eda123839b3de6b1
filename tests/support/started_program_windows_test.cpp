// Programs found and started on Windows as --on-alert starts them: a bare
// name tried with each extension of PATHEXT in each folder of the PATH, only
// programs and batch files taken; a batch file run through cmd.exe with the
// alert's parts in its environment.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/test_platform.h"
#include "support/text_files.h"
#include "tools/support/started_program.h"
#include "tools/support/utf8_path.h"

namespace {

namespace fs = std::filesystem;

class StartedPrograms : public testing::Test {
 protected:
  StartedPrograms() : root_(fs::temp_directory_path() / ("started-programs-" + std::to_string(GetCurrentProcessId()))) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "a" / "folder.exe");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::copy_file(self, root_ / "a" / "tool.exe");
    std::ofstream(root_ / "a" / "notify.cmd") << "@echo %TARVIO_ALERT_KIND% %TARVIO_ALERT_TEXT%> \"%~dp0out.txt\"\r\n";
    std::ofstream(root_ / "a" / "readme.txt") << "text\r\n";
    savedPath_ = get("PATH");
    savedExtensions_ = get("PATHEXT");
    setTestEnvironment("PATH", at("a").c_str());
    setTestEnvironment("PATHEXT", ".COM;.EXE;.BAT;.CMD");
  }
  ~StartedPrograms() override {
    setTestEnvironment("PATH", savedPath_.c_str());
    setTestEnvironment("PATHEXT", savedExtensions_.c_str());
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string at(const std::string& name) const { return support::utf8Path((root_ / name).wstring()); }

 private:
  static std::string get(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
  }
  fs::path root_;
  std::string savedPath_;
  std::string savedExtensions_;
};

TEST_F(StartedPrograms, AreFoundWithThePathsExtensions) {
  struct Case {
    std::string program;
    std::string found;  // empty: refused with `refusal`
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {"notify", at("a\\notify.cmd"), ""},
      {"NOTIFY.CMD", at("a\\NOTIFY.CMD"), ""},
      {"tool", at("a\\tool.exe"), ""},
      {at("a\\tool"), at("a\\tool.exe"), ""},
      {"readme", "", "'readme' is not on the PATH"},
      {"folder", "", "'" + at("a\\folder.exe") + "' is not a regular file"},
      {at("a\\readme.txt"), "", "'" + at("a\\readme.txt") + "' is not a program (.exe, .com) or batch file (.bat, .cmd)"},
  };
  for (const Case& test : cases) {
    const support::Result<std::string> found = support::findProgram(test.program);
    EXPECT_EQ(found.ok(), !test.found.empty()) << test.program << ": " << found.message();
    if (found) EXPECT_EQ(found.value(), test.found) << test.program;
    else EXPECT_EQ(found.message(), test.refusal) << test.program;
  }
}

TEST_F(StartedPrograms, RunABatchFileWithTheAlertsPartsInItsEnvironment) {
  const support::Result<std::string> found = support::findProgram("notify");
  ASSERT_TRUE(found) << found.message();
  support::Result<support::StartedProgram> started = support::startProgram(
      found.value(), "& echo injected", {{"TARVIO_ALERT_KIND", "cross"}, {"TARVIO_ALERT_TEXT", "ES_SPX crossed ZG"}});
  ASSERT_TRUE(started) << started.message();
  bool ended = false;
  for (int wait = 0; wait < 500 && !(ended = support::programEnded(started.value())); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (!ended) support::endProgram(started.value());
  EXPECT_TRUE(ended);
  EXPECT_EQ(test_text::readText(at("a\\out.txt")), "cross ES_SPX crossed ZG\r\n");
}

}  // namespace

// Programs found and started as --on-alert starts them: the PATH searched in
// order past files that may not be run, each refusal in its own words; the
// environment given replacing what the program would inherit; and a program
// ended with what it started.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/test_platform.h"
#include "support/text_files.h"
#include "tools/support/started_program.h"

namespace {

namespace fs = std::filesystem;

class StartedPrograms : public testing::Test {
 protected:
  StartedPrograms() : root_(fs::temp_directory_path() / ("started-programs-" + std::to_string(getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "a" / "folder");
    fs::create_directories(root_ / "b");
    script("a/notify", "exit 0", 0644);
    script("b/notify", "exit 0", 0755);
    script("b/only-b", "exit 0", 0755);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
  }
  ~StartedPrograms() override {
    setTestEnvironment("PATH", savedPath_.c_str());
    fs::remove_all(root_);
  }

  std::string at(const std::string& name) const { return (root_ / name).string(); }
  std::string script(const std::string& name, const std::string& body, mode_t mode = 0755) const {
    std::ofstream(at(name)) << "#!/bin/sh\n" << body << "\n";
    chmod(at(name).c_str(), mode);
    return at(name);
  }

 private:
  fs::path root_;
  std::string savedPath_;
};

TEST_F(StartedPrograms, AreFoundOnThePathInOrderOrRefusedInOneLine) {
  struct Case {
    std::string path;     // the PATH, folders under the test's root
    std::string program;  // a name, or a path under the root when it starts with '/'
    std::string found;    // under the root; empty: refused
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {"a:b", "notify", "b/notify", ""},  // past a file of that name that may not be run
      {"b:a", "notify", "b/notify", ""},
      {"a", "notify", "", "'" + at("a/notify") + "' may not be run by this user"},
      {"a:b", "missing", "", "'missing' is not on the PATH"},
      {"a", "folder", "", "'" + at("a/folder") + "' is not a regular file"},
      {"", "/b/only-b", "b/only-b", ""},
      {"", "/a/notify", "", "'" + at("a/notify") + "' may not be run by this user"},
      {"", "/a/folder", "", "'" + at("a/folder") + "' is not a regular file"},
      {"", "/a/missing", "", "'" + at("a/missing") + "' cannot be found (No such file or directory)"},
  };
  for (const Case& test : cases) {
    std::string path;
    for (std::size_t start = 0; start < test.path.size(); start += 2) path += (path.empty() ? "" : ":") + at(test.path.substr(start, 1));
    setTestEnvironment("PATH", path.c_str());
    const std::string program = test.program[0] == '/' ? at(test.program.substr(1)) : test.program;
    const support::Result<std::string> found = support::findProgram(program);
    EXPECT_EQ(found.ok(), !test.found.empty()) << test.path << " " << test.program << ": " << found.message();
    if (found) EXPECT_EQ(found.value(), at(test.found)) << test.path << " " << test.program;
    else EXPECT_EQ(found.message(), test.refusal) << test.path << " " << test.program;
  }
}

// A name given replaces the inherited one (once, not beside it); a program
// ended takes the children it started with it.
TEST_F(StartedPrograms, GetTheirEnvironmentAndEndWithWhatTheyStarted) {
  setTestEnvironment("TARVIO_ALERT_KIND", "inherited");
  const std::string out = at("out.txt");
  const std::string program = script(
      "hang", "env | grep -c '^TARVIO_ALERT_KIND=' > '" + out + ".tmp'\necho \"$TARVIO_ALERT_KIND $1\" >> '" + out +
                  ".tmp'\nsleep 60 &\necho \"$!\" >> '" + out + ".tmp'\nmv '" + out + ".tmp' '" + out + "'\nwait");
  support::Result<support::StartedProgram> started =
      support::startProgram(program, "the text", {{"TARVIO_ALERT_KIND", "cross"}});
  clearTestEnvironment("TARVIO_ALERT_KIND");
  ASSERT_TRUE(started) << started.message();
  for (int wait = 0; wait < 250 && !fs::exists(out); ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const std::vector<std::string> lines = test_text::linesOf(test_text::readText(out));
  ASSERT_EQ(lines.size(), 3u) << test_text::readText(out);
  EXPECT_EQ(lines[0], "1");
  EXPECT_EQ(lines[1], "cross the text");
  EXPECT_FALSE(support::programEnded(started.value()));
  support::endProgram(started.value());
  // The child, soon no longer running: gone, or a zombie its new parent has
  // yet to reap.
  const auto ended = [&] {
    const std::string stat = test_text::readText("/proc/" + lines[2] + "/stat");
    const std::size_t state = stat.rfind(')');
    return stat.empty() || (state != std::string::npos && stat.substr(state + 2, 1) == "Z");
  };
  for (int wait = 0; wait < 100 && !ended(); ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(ended()) << lines[2];
}

}  // namespace

// A real browser without a window, driven over its debugging pipe: the
// DevTools protocol's JSON messages, each ended by a NUL byte, written to
// the browser's descriptor 3 and read from its descriptor 4. Enough for a
// test to open a page, evaluate expressions in it, take a screenshot and
// collect what the page's console and network reported as errors. Every
// wait is bounded, so a browser that hangs fails the test instead of
// hanging it. Not thread-safe.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace live_test {

class HeadlessBrowser {
 public:
  // The browser to run: chromium-headless-shell or chromium on the PATH;
  // empty when neither is installed.
  static std::string find();

  // Starts the browser with a private profile in `profileFolder`, which must exist.
  HeadlessBrowser(const std::string& program, const std::string& profileFolder);
  ~HeadlessBrowser();
  HeadlessBrowser(const HeadlessBrowser&) = delete;
  HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

  // Opens `url` in a new page of the size given; false with the reason.
  bool open(const std::string& url, int width_px, int height_px, std::string& error);

  // Gives the open page a new size, in CSS pixels, and device pixels to a
  // CSS pixel; false when the browser did not take it.
  bool resize(int width_px, int height_px, double deviceScale = 1);

  // The expression's value in the page as JSON text ("true", "12",
  // "\"text\""); nothing when it threw or the browser did not answer.
  std::optional<std::string> evaluate(const std::string& expression);
  // Evaluates `condition` until it is true or `timeout_s` passes.
  bool waitFor(const std::string& condition, double timeout_s);

  // The page as a PNG picture; nothing when the browser did not give one.
  std::optional<std::string> screenshot();

  // Console errors, uncaught exceptions and failed or refused loads of the
  // page so far, one line each.
  const std::vector<std::string>& problems();

  // The browser's own messages on standard error, for a failing test.
  std::string standardError() const;

 private:
  // Sends a command (to the page once one is open) and waits for its answer;
  // the answer's "result" as JSON text, nothing on an error or no answer.
  std::optional<std::string> call(const std::string& method, const std::string& params, bool onPage = true);
  // Reads one message within the deadline; false when none came.
  bool readMessage(double timeout_s, std::string& message);
  void noteEvent(const std::string& message);

  pid_t pid_ = -1;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  std::string pending_;
  std::string session_;
  std::string errorPath_;
  int nextId_ = 1;
  std::vector<std::string> problems_;
};

}  // namespace live_test

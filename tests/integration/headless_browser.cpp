#include "integration/headless_browser.h"

#include <fcntl.h>
#include <poll.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/text_files.h"

extern char** environ;

namespace live_test {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kCallTimeout_s = 10;

std::string jsonText(const rapidjson::Value& value) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  value.Accept(writer);
  return std::string(buffer.GetString(), buffer.GetSize());
}

std::string quotedJson(const std::string& text) {
  rapidjson::Value value(text.c_str(), static_cast<rapidjson::SizeType>(text.size()));
  return jsonText(value);
}

std::string member(const rapidjson::Value& object, const char* name) {
  if (!object.IsObject() || !object.HasMember(name)) return {};
  const rapidjson::Value& value = object[name];
  return value.IsString() ? std::string(value.GetString(), value.GetStringLength()) : jsonText(value);
}

std::string base64Decoded(const std::string& text) {
  std::string bytes;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    int digit = -1;
    if (c >= 'A' && c <= 'Z') digit = c - 'A';
    else if (c >= 'a' && c <= 'z') digit = c - 'a' + 26;
    else if (c >= '0' && c <= '9') digit = c - '0' + 52;
    else if (c == '+') digit = 62;
    else if (c == '/') digit = 63;
    if (digit < 0) continue;
    bits = (bits << 6) | static_cast<uint32_t>(digit);
    if ((count += 6) >= 8) {
      count -= 8;
      bytes.push_back(static_cast<char>((bits >> count) & 0xff));
    }
  }
  return bytes;
}

bool onPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    if (access((folders.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string HeadlessBrowser::find() {
  for (const char* name : {"chromium-headless-shell", "chromium"})
    if (onPath(name)) return name;
  return {};
}

HeadlessBrowser::HeadlessBrowser(const std::string& program, const std::string& profileFolder) {
  // A write to a browser that died must fail, not end the test program.
  signal(SIGPIPE, SIG_IGN);
  int toChild[2];
  int fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) return;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  // The child's ends above 4, so putting them on 3 and 4 cannot overwrite one another.
  const int childRead = fcntl(toChild[0], F_DUPFD_CLOEXEC, 10);
  const int childWrite = fcntl(fromChild[1], F_DUPFD_CLOEXEC, 10);
  close(toChild[0]);
  close(fromChild[1]);
  errorPath_ = profileFolder + "/browser-stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, childRead, 3);
  posix_spawn_file_actions_adddup2(&actions, childWrite, 4);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> arguments = {program, "--headless", "--no-sandbox", "--disable-gpu",
                                        "--remote-debugging-pipe", "--user-data-dir=" + profileFolder,
                                        "--no-first-run", "--no-default-browser-check", "--disable-extensions",
                                        "--disable-background-networking", "--disable-sync", "--hide-scrollbars",
                                        "--mute-audio", "about:blank"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(childRead);
  close(childWrite);
  toBrowser_ = toChild[1];
  fromBrowser_ = fromChild[0];
}

HeadlessBrowser::~HeadlessBrowser() {
  if (pid_ > 0) {
    call("Browser.close", "{}", false);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  if (toBrowser_ >= 0) close(toBrowser_);
  if (fromBrowser_ >= 0) close(fromBrowser_);
}

std::string HeadlessBrowser::standardError() const { return test_text::readText(errorPath_); }

bool HeadlessBrowser::readMessage(double timeout_s, std::string& message) {
  const Clock::time_point deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout_s));
  for (;;) {
    const std::size_t end = pending_.find('\0');
    if (end != std::string::npos) {
      message = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || fromBrowser_ < 0) return false;
    pollfd waiting{fromBrowser_, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(left)) <= 0) continue;
    char buffer[65536];
    const ssize_t count = read(fromBrowser_, buffer, sizeof buffer);
    if (count <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(count));
  }
}

void HeadlessBrowser::noteEvent(const std::string& message) {
  rapidjson::Document event;
  event.Parse(message.c_str(), message.size());
  if (!event.IsObject() || !event.HasMember("method") || !event.HasMember("params")) return;
  const std::string method = member(event, "method");
  const rapidjson::Value& params = event["params"];
  if (method == "Runtime.consoleAPICalled") {
    const std::string type = member(params, "type");
    if (type == "error" || type == "assert") problems_.push_back("console " + type + ": " + member(params, "args"));
  } else if (method == "Runtime.exceptionThrown") {
    problems_.push_back("exception: " + member(params, "exceptionDetails"));
  } else if (method == "Log.entryAdded") {
    if (member(params["entry"], "level") == "error")
      problems_.push_back("log: " + member(params["entry"], "text") + " " + member(params["entry"], "url"));
  } else if (method == "Network.loadingFailed") {
    problems_.push_back("load failed: " + member(params, "errorText"));
  } else if (method == "Network.responseReceived") {
    const rapidjson::Value& response = params["response"];
    if (response.IsObject() && response.HasMember("status") && response["status"].IsNumber() &&
        response["status"].GetDouble() >= 400)
      problems_.push_back("answered " + member(response, "status") + ": " + member(response, "url"));
  }
}

std::optional<std::string> HeadlessBrowser::call(const std::string& method, const std::string& params, bool onPage) {
  if (pid_ <= 0 || toBrowser_ < 0) return std::nullopt;
  const int id = nextId_++;
  std::string command = "{\"id\":" + std::to_string(id) + ",\"method\":" + quotedJson(method) + ",\"params\":" + params;
  if (onPage && !session_.empty()) command += ",\"sessionId\":" + quotedJson(session_);
  command += "}";
  command.push_back('\0');
  std::size_t written = 0;
  while (written < command.size()) {
    const ssize_t count = write(toBrowser_, command.data() + written, command.size() - written);
    if (count <= 0) return std::nullopt;
    written += static_cast<std::size_t>(count);
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(static_cast<int>(kCallTimeout_s));
  std::string message;
  while (Clock::now() < deadline) {
    if (!readMessage(std::chrono::duration<double>(deadline - Clock::now()).count(), message)) return std::nullopt;
    rapidjson::Document answer;
    answer.Parse(message.c_str(), message.size());
    if (!answer.IsObject()) continue;
    if (!answer.HasMember("id")) {
      noteEvent(message);
      continue;
    }
    if (!answer["id"].IsInt() || answer["id"].GetInt() != id) continue;
    if (!answer.HasMember("result")) return std::nullopt;
    return jsonText(answer["result"]);
  }
  return std::nullopt;
}

bool HeadlessBrowser::open(const std::string& url, int width_px, int height_px, std::string& error) {
  if (pid_ <= 0) {
    error = "the browser did not start";
    return false;
  }
  const std::optional<std::string> created = call("Target.createTarget", "{\"url\":\"about:blank\"}", false);
  rapidjson::Document target;
  if (created) target.Parse(created->c_str());
  const std::string targetId = created ? member(target, "targetId") : "";
  if (targetId.empty()) {
    error = "no page from the browser: " + standardError();
    return false;
  }
  const std::optional<std::string> attached = call(
      "Target.attachToTarget", "{\"targetId\":" + quotedJson(targetId) + ",\"flatten\":true}", false);
  rapidjson::Document session;
  if (attached) session.Parse(attached->c_str());
  session_ = attached ? member(session, "sessionId") : "";
  if (session_.empty()) {
    error = "cannot attach to the browser's page";
    return false;
  }
  for (const char* domain : {"Runtime.enable", "Log.enable", "Network.enable", "Page.enable"}) {
    if (!call(domain, "{}")) {
      error = std::string(domain) + " was not answered";
      return false;
    }
  }
  if (!resize(width_px, height_px) || !call("Page.navigate", "{\"url\":" + quotedJson(url) + "}")) {
    error = "the browser did not go to " + url;
    return false;
  }
  return true;
}

bool HeadlessBrowser::resize(int width_px, int height_px, double deviceScale) {
  const std::string metrics = "{\"width\":" + std::to_string(width_px) + ",\"height\":" + std::to_string(height_px) +
                              ",\"deviceScaleFactor\":" + std::to_string(deviceScale) + ",\"mobile\":false}";
  return call("Emulation.setDeviceMetricsOverride", metrics).has_value();
}

std::optional<std::string> HeadlessBrowser::evaluate(const std::string& expression) {
  const std::string wrapped = "JSON.stringify((" + expression + "))";
  const std::optional<std::string> result =
      call("Runtime.evaluate", "{\"expression\":" + quotedJson(wrapped) + ",\"returnByValue\":true}");
  if (!result) return std::nullopt;
  rapidjson::Document answer;
  answer.Parse(result->c_str());
  if (!answer.IsObject() || answer.HasMember("exceptionDetails") || !answer.HasMember("result")) return std::nullopt;
  const std::string value = member(answer["result"], "value");
  if (value.empty()) return std::nullopt;  // undefined has no JSON text
  return value;
}

bool HeadlessBrowser::waitFor(const std::string& condition, double timeout_s) {
  const Clock::time_point deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout_s));
  while (Clock::now() < deadline) {
    if (evaluate(condition) == std::optional<std::string>("true")) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::optional<std::string> HeadlessBrowser::screenshot() {
  const std::optional<std::string> result = call("Page.captureScreenshot", "{\"format\":\"png\"}");
  if (!result) return std::nullopt;
  rapidjson::Document answer;
  answer.Parse(result->c_str());
  const std::string data = member(answer, "data");
  if (data.empty()) return std::nullopt;
  return base64Decoded(data);
}

const std::vector<std::string>& HeadlessBrowser::problems() {
  // Events that came since the last command are read first.
  std::string message;
  while (readMessage(0.05, message)) noteEvent(message);
  return problems_;
}

}  // namespace live_test

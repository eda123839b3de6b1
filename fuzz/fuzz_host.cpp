#include "fuzz/fuzz_host.h"

#include <cstring>
#include <utility>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_reading.h"

namespace {

std::vector<LoggedLine> lines;

void addMessageToLog(const HostString& text, int32_t alert) {
  // The host copies the text up to `length` and shows it as one line.
  FUZZ_CHECK(text.text != nullptr);
  FUZZ_CHECK(text.text[text.length] == '\0');
  FUZZ_CHECK(std::strlen(text.text) == text.length);
  FUZZ_CHECK(alert == 0 || alert == 1);
  // One line of readable length whatever the answer held: no control byte
  // raw and only well-formed UTF-8 (no C1 controls), so nothing needs escaping.
  std::string line(text.text, text.length);
  FUZZ_CHECK(line.size() <= 4096);
  FUZZ_CHECK(fuzz::asLogged(line, line.size()) == line);
  lines.push_back({std::move(line), alert});
}

HostStudyInterface makeHost() {
  HostStudyInterface sc{};
  sc.recordSize = sizeof(HostStudyInterface);
  sc.hostVersion = kHostInterfaceVersion;
  sc.ops.HostAddMessageToLog = addMessageToLog;
  return sc;
}

}  // namespace

HostStudyInterface& fuzzHost() {
  static HostStudyInterface sc = makeHost();
  return sc;
}

const std::vector<LoggedLine>& loggedLines() { return lines; }

void resetLoggedLines() { lines.clear(); }

std::unique_ptr<char[]> responseText(const uint8_t* data, size_t size) {
  std::unique_ptr<char[]> text(new char[size + 1]);
  if (size != 0) std::memcpy(text.get(), data, size);
  text[size] = '\0';
  return text;
}

// What a person hands the chart program, fuzzed: bar files, settings files
// applied to the real study's inputs, and dates typed on the command line.
// The first byte picks the reader; the rest is the file's text.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/chart/inputs/bar_file.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/inputs/settings_file.h"
#include "support/record_copy.h"
#include "support/study_fixture.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::inputs;

namespace {

void checkBars(std::string_view text) {
  std::string error;
  const std::optional<BarText> read = readBarText(text, error);
  if (!read) {
    FUZZ_CHECK(!error.empty());
    return;
  }
  FUZZ_CHECK(!read->bars.empty());
  for (std::size_t i = 0; i < read->bars.size(); ++i) {
    const Bar& bar = read->bars[i];
    for (float value : {bar.open, bar.high, bar.low, bar.close, bar.volume}) FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(bar.low <= bar.open && bar.open <= bar.high);
    FUZZ_CHECK(bar.low <= bar.close && bar.close <= bar.high);
    FUZZ_CHECK(bar.volume >= 0);
    FUZZ_CHECK(i == 0 || read->bars[i - 1].dateTime < bar.dateTime);
  }
  // A line skipped is older than the newest bar before it, and told in line order.
  for (std::size_t i = 0; i < read->skipped.size(); ++i) {
    FUZZ_CHECK(read->skipped[i].at < read->skipped[i].newest);
    FUZZ_CHECK(i == 0 || read->skipped[i - 1].line < read->skipped[i].line);
  }
}

void checkSettings(const std::string& text) {
  std::string error;
  const std::optional<InputSettings> settings = readSettingsText(text, error);
  if (!settings) {
    FUZZ_CHECK(!error.empty());
    return;
  }
  // One study for the whole run: its inputs carry over from input to input,
  // which only widens what the assignments start from.
  static StudyFixture* const study = new StudyFixture(0);
  StudyInstance& instance = study->instance;
  for (const auto& [name, value] : *settings) {
    std::vector<HostInput> before;
    std::vector<std::string> texts;
    for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) before.push_back(instance.input(i));
    for (const HostInput& input : before) texts.push_back(hostStringText(input.textValue));
    error.clear();
    const bool assigned = assignInput(instance, name, value, error);
    int changed = 0;
    // Texts compared by content as they were: the copies' buffers may be gone
    // once assigned.
    for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
      const HostInput& now = instance.input(i);
      changed += sameValue(before[i], now) && texts[i] == hostStringText(now.textValue) ? 0 : 1;
    }
    // A refused value changes nothing and says why; an accepted one changes
    // one input at most (none when it was already so).
    if (!assigned) FUZZ_CHECK(!error.empty() && changed == 0);
    if (assigned) FUZZ_CHECK(changed <= 1);
  }
}

void checkDateTime(std::string_view text) {
  const std::optional<HostDateTime> when = support::readDateTime(text);
  if (!when) return;
  // What is written reads back as the same second.
  const std::optional<HostDateTime> again = support::readDateTime(support::formatDateTime(*when));
  FUZZ_CHECK(again && *again == *when / 1000000 * 1000000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: checkBars(text); break;
    case 1: checkSettings(text); break;
    default: checkDateTime(text); break;
  }
  return 0;
}

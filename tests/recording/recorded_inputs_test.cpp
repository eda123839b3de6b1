// The study's inputs as a recording keeps them: every text goes back through
// --set's own reader to the very value it was taken from, and the service
// key is never among them.
#include "tools/chart/replay/recorded_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "study/study_inputs.h"
#include "support/study_fixture.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/command_line/option_values.h"

namespace {

int32_t optionCount(const HostInput& input) {
  const std::string options = hostStringText(input.listOptions);
  int32_t count = 1;
  for (const char c : options) count += c == ';' ? 1 : 0;
  return count;
}

// A value of the input's kind other than its default, with what a plain
// text would lose: float digits, fractions of seconds, odd characters.
void changeValue(HostInput& input, int32_t index) {
  switch (input.kind) {
    case kInputList: input.intValue = (input.intValue + 1) % optionCount(input); break;
    case kInputText: assignHostString(input.textValue, ("text = with, odd ; bits " + std::to_string(index)).c_str()); break;
    case kInputFloat: input.floatValue = input.floatValue * 1.37f + 0.0123f; break;
    case kInputInteger: input.intValue += 3; break;
    case kInputYesNo: input.intValue = input.intValue ? 0 : 1; break;
    case kInputColor: input.intValue = 0x123456 + index; break;
    case kInputTimeOfDay: input.dateTimeValue = 0.3987654321; break;
    case kInputDate: input.dateTimeValue = 46083; break;
    case kInputDateTime: input.dateTimeValue = 46083.3987654321; break;
    default: break;
  }
}

TEST(RecordedInputs, EveryTextSetsBackTheVeryValueAndTheKeyIsLeftOut) {
  StudyFixture recorded;
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) changeValue(recorded.instance.input(i), i);
  assignHostString(recorded.instance.input(tarvio::kApiKeyInput).textValue, "secret-key-91");
  const std::vector<std::string> texts = chart_tool::replay::inputSettingTexts(recorded.instance);
  ASSERT_GT(texts.size(), 20u);

  StudyFixture replayed;
  for (const std::string& text : texts) {
    EXPECT_EQ(text.find("secret-key-91"), std::string::npos) << text;
    const std::optional<chart_tool::inputs::InputSetting> setting = chart_tool::command_line::readInputSetting(text);
    ASSERT_TRUE(setting) << text;
    std::string error;
    EXPECT_TRUE(chart_tool::inputs::assignInput(replayed.instance, setting->first, setting->second, error))
        << text << ": " << error;
  }
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    const HostInput& want = recorded.instance.input(i);
    const HostInput& got = replayed.instance.input(i);
    if (want.kind == kInputNone || i == tarvio::kApiKeyInput) continue;
    const std::string name = hostStringText(want.name);
    EXPECT_EQ(got.intValue, want.intValue) << name;
    EXPECT_EQ(std::memcmp(&got.floatValue, &want.floatValue, sizeof want.floatValue), 0) << name;
    // Times go to the microsecond.
    EXPECT_LT(std::fabs(got.dateTimeValue - want.dateTimeValue) * kMicrosecondsPerDay, 0.5001) << name;
    if (want.kind == kInputText) {
      EXPECT_STREQ(hostStringText(got.textValue), hostStringText(want.textValue)) << name;
    }
  }
  EXPECT_STRNE(hostStringText(replayed.instance.input(tarvio::kApiKeyInput).textValue), "secret-key-91");
}

}  // namespace

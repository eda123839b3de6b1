#include "tools/chart/inputs/input_assignment.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "host/study_instance.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/chart/inputs/text_file.h"
#include "tools/chart/inputs/zone_names.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::inputs {

using namespace chart_host;

namespace {

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool declared(StudyInstance& instance, int32_t index) {
  return index >= 0 && index < StudyInstance::kInputSlots &&
         instance.input(index).kind != kInputNone;
}

std::optional<int64_t> readWhole(std::string_view text) {
  const std::string copy(text);
  if (copy.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(copy.c_str(), &end, 10);
  if (end != copy.c_str() + copy.size() || errno == ERANGE) return std::nullopt;
  return value;
}

std::optional<int32_t> readInt32(std::string_view text) {
  const std::optional<int64_t> value = readWhole(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(*value);
}

std::vector<std::string> listOptionsOf(const HostInput& input) {
  std::vector<std::string> options;
  const std::string_view all = hostStringText(input.listOptions);
  std::size_t start = 0;
  while (start <= all.size()) {
    const std::size_t semicolon = all.find(';', start);
    options.emplace_back(all.substr(start, semicolon - start));
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  return options;
}

// "input 'NAME' takes EXPECTED, not 'VALUE'".
std::string refusalOf(const HostInput& input, std::string_view value, const std::string& expected) {
  return "input " + inputs::quoted(hostStringText(input.name)) + " takes " + expected + ", not " +
         inputs::quoted(value);
}

// The option a value picks: the option's text in any case, its index from 0,
// or a beginning that only one option has ("cent" for "Center"). Nothing when
// there is none, with the refusal naming the input.
std::optional<int32_t> listOptionOf(const HostInput& input, std::string_view value, std::string& refusal) {
  const std::vector<std::string> options = listOptionsOf(input);
  const std::string wanted = lowered(value);
  for (std::size_t i = 0; i < options.size(); ++i)
    if (lowered(options[i]) == wanted) return static_cast<int32_t>(i);
  const std::optional<int32_t> index = readInt32(value);
  if (index && *index >= 0 && static_cast<std::size_t>(*index) < options.size()) return *index;
  std::vector<std::size_t> beginning;
  for (std::size_t i = 0; i < options.size() && !wanted.empty(); ++i)
    if (lowered(options[i]).starts_with(wanted)) beginning.push_back(i);
  if (beginning.size() == 1) return static_cast<int32_t>(beginning.front());
  // A beginning that several options share names those; a miss names all.
  const bool several = !beginning.empty();
  std::string choices;
  for (std::size_t i = 0; i < options.size(); ++i)
    if (!several || std::find(beginning.begin(), beginning.end(), i) != beginning.end())
      choices.append(choices.empty() ? "" : ", ").append(inputs::quoted(options[i]));
  refusal = several ? "input " + inputs::quoted(hostStringText(input.name)) +
                          " has several options beginning with " + inputs::quoted(value) + ": " + choices
                    : refusalOf(input, value, "one of " + choices + " (or its index from 0)");
  return std::nullopt;
}

std::optional<HostColor> readColor(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  uint32_t value = 0;
  for (char c : text.substr(1)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                   ? c - '0'
                                                   : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
  }
  return rgb(value >> 16, (value >> 8) & 0xFF, value & 0xFF);
}

std::optional<int32_t> readYesNo(std::string_view text) {
  const std::string word = lowered(text);
  if (word == "yes" || word == "true" || word == "on" || word == "1") return 1;
  if (word == "no" || word == "false" || word == "off" || word == "0") return 0;
  return std::nullopt;
}

// The whole text as a finite float (strtof's reading, as the study's own
// float inputs hold it); none when anything is left over.
std::optional<float> readFiniteFloat(std::string_view value) {
  const std::string copy(value);
  char* end = nullptr;
  const float number = copy.empty() ? NAN : std::strtof(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(number)) return std::nullopt;
  return number;
}

// A zone by its name or city, or by its index in the study's table.
std::string assignTimeZone(HostInput& input, std::string_view value) {
  std::optional<int32_t> index = timeZoneIndexOfName(value);
  if (!index && meantAsZoneName(value))
    return "input " + inputs::quoted(hostStringText(input.name)) + ": " + unknownTimeZoneMessage(value);
  if (!index) index = readInt32(value);
  if (!index || *index < 0 || *index >= study_door::kTimeZoneCount)
    return refusalOf(input, value, "a time-zone index from 0 to " + std::to_string(study_door::kTimeZoneCount - 1) +
                                       " (7 is New York) or a zone's name, e.g. America/New_York");
  input.intValue = *index;
  return {};
}

// Writes the value into the input; why not, naming the input, when it cannot.
std::string assignByKind(HostInput& input, std::string_view value) {
  const auto takes = [&](const std::string& expected) { return refusalOf(input, value, expected); };
  switch (input.kind) {
    case kInputList: {
      std::string refusal;
      const std::optional<int32_t> option = listOptionOf(input, value, refusal);
      if (!option) return refusal;
      input.intValue = *option;
      return {};
    }
    case kInputText:
      assignHostString(input.textValue, std::string(value).c_str());
      return {};
    case kInputFloat: {
      const std::optional<float> number = readFiniteFloat(value);
      if (!number) return takes("a number");
      input.floatValue = *number;
      return {};
    }
    case kInputInteger: {
      const std::optional<int32_t> number = readInt32(value);
      if (!number) return takes("a whole number");
      input.intValue = *number;
      return {};
    }
    case kInputYesNo: {
      const std::optional<int32_t> flag = readYesNo(value);
      if (!flag) return takes("yes or no");
      input.intValue = *flag;
      return {};
    }
    case kInputColor: {
      const std::optional<HostColor> color = readColor(value);
      if (!color) return takes("a colour as #RRGGBB");
      input.intValue = static_cast<int32_t>(*color);
      return {};
    }
    case kInputTimeOfDay: {
      const std::optional<int64_t> time = support::readTimeOfDay(value);
      if (!time) return takes("a time of day as HH:MM or HH:MM:SS");
      input.dateTimeValue = static_cast<double>(*time) / static_cast<double>(kMicrosecondsPerDay);
      return {};
    }
    case kInputTimeZone:
      return assignTimeZone(input, value);
    case kInputDate:
    case kInputDateTime: {
      const std::optional<HostDateTime> when =
          input.kind == kInputDate ? support::readDate(value) : support::readDateTime(value);
      if (!when) return takes(input.kind == kInputDate ? "a date as YYYY-MM-DD" : "a date and time as YYYY-MM-DD HH:MM");
      input.dateTimeValue = static_cast<double>(*when) / static_cast<double>(kMicrosecondsPerDay);
      return {};
    }
    default:
      return takes("nothing: the input is not declared");
  }
}

}  // namespace

int32_t findInput(StudyInstance& instance, std::string_view nameOrIndex, std::string& error) {
  const std::string wanted = lowered(nameOrIndex);
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i)
    if (declared(instance, i) && lowered(hostStringText(instance.input(i).name)) == wanted) return i;
  if (const std::optional<int32_t> index = readInt32(nameOrIndex)) {
    if (declared(instance, *index)) return *index;
    error = "no input has the index " + std::string(nameOrIndex);
    return -1;
  }
  // Long names may be typed without their explanation in brackets, or by
  // any beginning that names one input only.
  std::vector<int32_t> byBeginning;
  for (int32_t i = 0; i < StudyInstance::kInputSlots && !wanted.empty(); ++i) {
    if (!declared(instance, i)) continue;
    const std::string name = lowered(hostStringText(instance.input(i).name));
    if (name.substr(0, name.find(" (")) == wanted) return i;
    if (name.compare(0, wanted.size(), wanted) == 0) byBeginning.push_back(i);
  }
  // Then any part of one name only ("Interval").
  std::vector<int32_t> matches = byBeginning;
  if (matches.empty()) {
    for (int32_t i = 0; i < StudyInstance::kInputSlots && !wanted.empty(); ++i)
      if (declared(instance, i) && lowered(hostStringText(instance.input(i).name)).find(wanted) != std::string::npos)
        matches.push_back(i);
  }
  if (matches.size() == 1) return matches.front();
  if (matches.size() > 1) {
    error = inputs::quoted(nameOrIndex) + " names several inputs: ";
    for (std::size_t i = 0; i < matches.size() && i < 4; ++i)
      error.append(i == 0 ? "" : ", ").append(inputs::quoted(hostStringText(instance.input(matches[i]).name)));
    if (matches.size() > 4) error += ", ...";
    return -1;
  }
  // Up to three declared names closest to what was typed, each by its full
  // name or the name before its explanation.
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> spellings;
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    if (!declared(instance, i)) continue;
    names.push_back(hostStringText(instance.input(i).name));
    spellings.push_back({names.back(), names.back().substr(0, names.back().find(" ("))});
  }
  const std::vector<CloseName> scored = closestNames(nameOrIndex, spellings);
  error = "no input is named " + inputs::quoted(nameOrIndex);
  for (std::size_t i = 0; i < scored.size() && i < 3; ++i)
    error.append(i == 0 ? "; did you mean " : ", ").append(inputs::quoted(names[scored[i].candidate]));
  if (!scored.empty()) error += "?";
  return -1;
}

bool assignInput(StudyInstance& instance, std::string_view nameOrIndex, std::string_view value,
                 std::string& error) {
  const int32_t index = findInput(instance, nameOrIndex, error);
  if (index < 0) return false;
  HostInput& input = instance.input(index);
  HostInput changed = input;
  changed.textValue = HostString{};  // a text is assigned afresh, never shared
  const std::string refusal = assignByKind(changed, value);
  if (!refusal.empty()) {
    releaseHostString(changed.textValue);
    error = refusal;
    return false;
  }
  if (input.kind == kInputText) {
    releaseHostString(input.textValue);
  } else {
    changed.textValue = input.textValue;
  }
  input = changed;
  return true;
}

std::vector<CloseName> closestNames(std::string_view typed, const std::vector<std::vector<std::string>>& candidates) {
  const std::string wanted = lowered(typed);
  std::vector<CloseName> ranked;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    std::size_t edits = SIZE_MAX;
    for (const std::string& spelling : candidates[i]) edits = std::min(edits, editDistance(wanted, lowered(spelling)));
    ranked.push_back({i, edits});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const CloseName& a, const CloseName& b) { return a.edits < b.edits; });
  return ranked;
}

}  // namespace chart_tool::inputs

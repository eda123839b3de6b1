#include "tools/standin/fault_schedule.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>

#include "tools/support/number_text.h"

namespace standin {

namespace {

using support::Status;

// One entry as written, with its run of requests and the text of its value.
struct EntryText {
  std::string whole;
  RequestRun run;
  std::string value;
};

std::optional<uint64_t> requestNumber(std::string_view text) {
  return support::readNumberText<uint64_t>(text, 1, UINT64_MAX);
}

// "N" or "N-M", N from 1 and M not below N.
std::optional<RequestRun> runOfText(std::string_view text) {
  const size_t dash = text.find('-');
  const std::optional<uint64_t> first = requestNumber(text.substr(0, dash));
  const std::optional<uint64_t> last = dash == std::string_view::npos ? first : requestNumber(text.substr(dash + 1));
  if (!first || !last || *last < *first) return std::nullopt;
  return RequestRun{*first, *last};
}

Status entryProblem(const std::string& entry, const std::string& why) {
  return Status::failure("entry '" + entry + "': " + why);
}

// One entry read up to its value: "N[-M]:VALUE".
support::Result<EntryText> entryOfText(const std::string& entry, const char* form) {
  const size_t colon = entry.find(':');
  if (colon == std::string::npos) return Status::failure("entry '" + entry + "' is not " + form);
  const std::string run_text = entry.substr(0, colon);
  const std::optional<RequestRun> run = runOfText(run_text);
  if (!run)
    return entryProblem(entry, "'" + run_text + "' is not N or N-M, requests counted from 1 (M not below N)");
  return EntryText{entry, *run, entry.substr(colon + 1)};
}

// The text's entries in the order written, each with its run read.
support::Result<std::vector<EntryText>> entriesOfText(std::string_view text, const char* form) {
  if (text.empty()) return Status::failure(std::string("needs at least one entry ") + form);
  std::vector<EntryText> entries;
  size_t start = 0;
  for (;;) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string entry(text.substr(start, comma - start));
    if (entry.empty())
      return Status::failure("entry " + std::to_string(entries.size() + 1) + " is empty; entries are " + form);
    support::Result<EntryText> read = entryOfText(entry, form);
    if (!read) return read.status();
    entries.push_back(std::move(read.value()));
    if (comma == text.size()) return entries;
    start = comma + 1;
  }
}

// Two entries whose runs share a request, named in the order written; a
// success when there are none.
Status overlapOf(const std::vector<EntryText>& entries) {
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&entries](size_t a, size_t b) { return entries[a].run.first < entries[b].run.first; });
  for (size_t i = 1; i < order.size(); ++i) {
    const size_t earlier = std::min(order[i - 1], order[i]), later = std::max(order[i - 1], order[i]);
    if (entries[order[i - 1]].run.last >= entries[order[i]].run.first)
      return Status::failure("entries '" + entries[earlier].whole + "' and '" + entries[later].whole +
                             "' overlap");
  }
  return Status::success();
}

}  // namespace

support::Result<std::vector<ScheduledFault>> faultScheduleFromText(std::string_view text) {
  support::Result<std::vector<EntryText>> entries = entriesOfText(text, "N[-M]:MODE");
  if (!entries) return entries.status();
  std::vector<ScheduledFault> schedule;
  for (const EntryText& entry : entries.value()) {
    const std::optional<FaultMode> mode = faultFromName(entry.value);
    if (!mode) return entryProblem(entry.whole, "'" + entry.value + "' is not one of " + faultNames());
    schedule.push_back({entry.run, *mode});
  }
  if (Status overlap = overlapOf(entries.value()); !overlap) return overlap;
  return schedule;
}

support::Result<std::vector<ScheduledDelay>> delayScheduleFromText(std::string_view text) {
  support::Result<std::vector<EntryText>> entries = entriesOfText(text, "N[-M]:SECONDS");
  if (!entries) return entries.status();
  std::vector<ScheduledDelay> schedule;
  for (const EntryText& entry : entries.value()) {
    const std::optional<double> seconds = support::readDecimalNumber(entry.value, 0, kMaxScheduledDelaySeconds);
    if (!seconds) return entryProblem(entry.whole, "'" + entry.value + "' is not a number of seconds from 0 to 60");
    schedule.push_back({entry.run, *seconds});
  }
  if (Status overlap = overlapOf(entries.value()); !overlap) return overlap;
  return schedule;
}

}  // namespace standin

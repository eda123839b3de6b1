// readRecording (recorded_exchange.h): the index, then every body it names,
// each checked against the size and checksum of its line.
#include "tools/recording/checksum.h"
#include "tools/recording/index_reading.h"
#include "tools/recording/recorded_exchange.h"
#include "tools/recording/recording_files.h"
#include "tools/support/input_file.h"

namespace recording {

namespace {

// Reads one of the recording's files into `bytes`. A missing file is for
// the caller to word (false, `error` untouched); one that cannot be read, or
// is not a regular file within `bound_bytes`, gives the reader's line.
bool readRecordedFile(const std::string& path, uint64_t bound_bytes, std::string& bytes, bool& missing,
                      std::string& error) {
  support::Result<std::optional<std::string>> read = support::readInputFileIfPresent(path, bound_bytes);
  missing = read.ok() && !read.value();
  if (!read) error = read.message();
  if (!read || missing) return false;
  bytes = std::move(*read.value());
  return true;
}

}  // namespace

bool readRecording(const std::string& folder, Recording& read, std::string& error) {
  read = Recording{};
  const std::string base = folderName(folder);
  const std::string indexPath = base + "/" + kIndexFileName;
  std::string text;
  bool missing = false;
  if (!readRecordedFile(indexPath, support::kRecordingIndexBound_bytes, text, missing, error)) {
    if (missing) error = indexPath + ": cannot be read (is " + folder + " a recording?)";
    return false;
  }
  IndexContents index;
  if (!readIndexText(text, indexPath, index, error)) return false;
  read.barsPath = base + "/" + kBarsFileName;
  std::string bars;
  if (!readRecordedFile(read.barsPath, support::kBarsFileBound_bytes, bars, missing, error)) {
    if (missing) error = read.barsPath + ": missing";
    return false;
  }
  for (std::size_t i = 0; i < index.exchanges.size(); ++i) {
    RecordedExchange& exchange = index.exchanges[i];
    const BodyStamp& stamp = index.stamps[i];
    const std::string bodyPath = base + "/" + exchange.bodyFile;
    const std::string namedBy = indexPath + " line " + std::to_string(index.lineNumbers[i]);
    if (!readRecordedFile(bodyPath, support::kServiceAnswerBound_bytes, exchange.body, missing, error)) {
      if (missing) error = bodyPath + ": missing (named by " + namedBy + ")";
      return false;
    }
    if (exchange.body.size() != stamp.bytes) {
      error = bodyPath + ": " + std::to_string(exchange.body.size()) + " bytes where " + namedBy + " says " +
              std::to_string(stamp.bytes);
      return false;
    }
    const std::string checksum = checksumText(exchange.body);
    if (checksum != stamp.checksum) {
      error = bodyPath + ": checksum " + checksum + " where " + namedBy + " says " + stamp.checksum;
      return false;
    }
  }
  read.header = std::move(index.header);
  read.exchanges = std::move(index.exchanges);
  read.calls = std::move(index.calls);
  read.note = std::move(index.note);
  return true;
}

}  // namespace recording

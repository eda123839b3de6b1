#include "tools/recording/recording_writer.h"

#include <filesystem>
#include <system_error>

#include "tools/recording/call_lines.h"
#include "tools/recording/checksum.h"
#include "tools/recording/index_lines.h"
#include "tools/recording/recording_bounds.h"
#include "tools/support/file_replacement.h"
#include "tools/support/utf8_path.h"

namespace recording {

namespace {

namespace fs = std::filesystem;

// A file of the recording, on the disk before the index names it.
bool writeRecordingFile(const std::string& path, std::string_view bytes, std::string& error) {
  const support::Status written = support::replaceFile(path, bytes, support::Durability::flushed);
  if (!written) error = written.message();
  return written.ok();
}

// A new folder, or an empty one; anything else is refused.
bool makeEmptyFolder(const std::string& folder, std::string& error) {
  const fs::path path = support::pathFromUtf8(folder);
  std::error_code failure;
  if (fs::exists(path, failure)) {
    if (!fs::is_directory(path, failure)) {
      error = folder + ": is a file; a recording needs a new or empty folder";
      return false;
    }
    if (!fs::is_empty(path, failure) || failure) {
      error = folder + ": " + (failure ? failure.message() : "already holds files") +
              "; a recording needs a new or empty folder";
      return false;
    }
  }
  fs::create_directories(path / kBodiesFolderName, failure);
  if (failure) error = folder + ": cannot be made: " + failure.message();
  return !failure;
}

}  // namespace

bool RecordingWriter::open(const std::string& folder, const RecordingHeader& header,
                           const std::vector<support::PriceBar>& bars, std::string& error) {
  folder_ = folderName(folder);
  std::string line;
  if (!headerLine(header, line, error)) {
    error = folder_ + ": " + error;
    return false;
  }
  // A recording that could not be read back is not begun.
  if (const std::string refusal = headerRefusal(header); !refusal.empty()) {
    error = folder_ + ": " + refusal;
    return false;
  }
  // The bars come first: an index that reads always has its bars beside it.
  return makeEmptyFolder(folder_, error) && writeBars(bars, error) &&
         index_.create(folder_ + "/" + kIndexFileName, error) && index_.append(line, error);
}

bool RecordingWriter::append(const RecordedExchange& exchange, std::string& error) {
  if (exchange.number != written_ + 1) {
    error = folder_ + ": exchange " + std::to_string(exchange.number) + " where exchange " +
            std::to_string(written_ + 1) + " was due";
    return false;
  }
  const BodyStamp stamp{exchange.body.size(), checksumText(exchange.body)};
  std::string line;
  if (!exchangeLine(exchange, stamp, line, error)) {
    error = folder_ + ": exchange " + std::to_string(exchange.number) + ": " + error;
    return false;
  }
  if (!writeRecordingFile(folder_ + "/" + bodyFileOf(exchange.number), exchange.body, error)) return false;
  if (!index_.append(line, error)) return false;
  ++written_;
  return true;
}

bool RecordingWriter::appendCall(const RecordedCall& call, std::string& error) {
  if (call.number != callsWritten_ + 1) {
    error = folder_ + ": call " + std::to_string(call.number) + " where call " + std::to_string(callsWritten_ + 1) +
            " was due";
    return false;
  }
  std::string line;
  if (!callLine(call, line, error)) {
    error = folder_ + ": call " + std::to_string(call.number) + ": " + error;
    return false;
  }
  if (!index_.append(line, error)) return false;
  ++callsWritten_;
  return true;
}

bool RecordingWriter::writeBars(const std::vector<support::PriceBar>& bars, std::string& error) {
  const std::string path = folder_ + "/" + kBarsFileName;
  const std::optional<std::string> text = support::barCsvText(bars);
  if (!text) {
    error = path + ": a bar's time is outside years 0001 to 9999";
    return false;
  }
  return writeRecordingFile(path, *text, error);
}

}  // namespace recording

// readRecording (recorded_exchange.h): the index, then every body it names,
// each checked against the size and checksum of its line. Nothing on the disk
// is trusted: the folder is held open and every file is opened inside it
// (never through a link, never a FIFO, device or folder), and a body is
// measured against its line before a byte of it is read.
#include <algorithm>

#include "tools/recording/checksum.h"
#include "tools/recording/index_reading.h"
#include "tools/recording/recorded_exchange.h"
#include "tools/recording/recording_bounds.h"
#include "tools/recording/recording_files.h"
#include "tools/support/input_file.h"

namespace recording {

namespace {

using support::InputFile;
using support::InputFolder;

// The recording's folder held open; false with one line when it cannot be.
bool openFolder(const std::string& folder, std::optional<InputFolder>& opened, std::string& error) {
  const std::string base = folderName(folder);
  support::Result<std::optional<InputFolder>> held = InputFolder::openIfPresent(base);
  if (held && held.value()) opened = std::move(*held.value());
  if (!held) error = held.message();
  if (held && !held.value()) error = base + "/" + kIndexFileName + ": cannot be read (is " + folder + " a recording?)";
  return opened.has_value();
}

// The index read and checked, its header within a run's bounds and something
// recorded after it.
bool readIndex(const InputFolder& folder, const std::string& named, IndexContents& index, std::string& error) {
  const std::string indexPath = folder.pathOf(kIndexFileName);
  support::Result<std::optional<InputFile>> opened = folder.fileIfPresent(kIndexFileName);
  if (opened && !opened.value()) error = indexPath + ": cannot be read (is " + named + " a recording?)";
  if (!opened) error = opened.message();
  if (!opened || !opened.value()) return false;
  support::Result<std::string> text = opened.value()->read(support::kRecordingIndexBound_bytes);
  if (!text) error = text.message();
  if (!text || !readIndexText(text.value(), indexPath, index, error)) return false;
  if (const std::string refusal = headerRefusal(index.header); !refusal.empty()) {
    error = indexPath + " line 1: the header line: " + refusal;
    return false;
  }
  // A call's line alone is a run that made no request, which replays; an
  // index with nothing after its header holds no run at all.
  if (index.exchanges.empty() && index.calls.empty()) {
    error = indexPath + ": no exchange recorded, only the header line" +
            (index.note.empty() ? std::string() : " (its last line was cut: the recording run ended mid-write)");
    return false;
  }
  return true;
}

// The bars file there, a regular file within its bound; it is not read here
// (the chart program reads it when it needs the bars).
bool checkBars(const InputFolder& folder, std::string& error) {
  support::Result<std::optional<InputFile>> opened = folder.fileIfPresent(kBarsFileName);
  if (!opened) error = opened.message();
  if (opened && !opened.value()) error = folder.pathOf(kBarsFileName) + ": missing";
  if (!opened || !opened.value()) return false;
  if (opened.value()->size_bytes() <= support::kBarsFileBound_bytes) return true;
  error = folder.pathOf(kBarsFileName) + ": cannot be read (" +
          support::overBoundReason(opened.value()->size_bytes(), support::kBarsFileBound_bytes) + ")";
  return false;
}

// The name of an exchange's body in the bodies folder: its bodyFile after
// "bodies/" (the index reader lets no other form through). It is opened only
// as a name directly inside the held folder.
std::string nameInBodies(const std::string& bodyFile) {
  const std::string folder = std::string(kBodiesFolderName) + "/";
  return bodyFile.rfind(folder, 0) == 0 ? bodyFile.substr(folder.size()) : bodyFile;
}

// One body, which must be as large as its line says before a byte of it is
// read; then no more than that is read, and it must match the line's checksum.
bool readBody(const InputFolder& bodies, RecordedExchange& exchange, const BodyStamp& stamp,
              const std::string& namedBy, std::string& error) {
  const std::string name = nameInBodies(exchange.bodyFile);
  const std::string bodyPath = bodies.pathOf(name);
  support::Result<std::optional<InputFile>> opened = bodies.fileIfPresent(name);
  if (!opened) error = opened.message();
  if (opened && !opened.value()) error = bodyPath + ": missing (named by " + namedBy + ")";
  if (!opened || !opened.value()) return false;
  auto sizeRefusal = [&](uint64_t size) {
    error = bodyPath + ": " + std::to_string(size) + " bytes where " + namedBy + " says " + std::to_string(stamp.bytes);
    return false;
  };
  if (opened.value()->size_bytes() != stamp.bytes) return sizeRefusal(opened.value()->size_bytes());
  support::Result<std::string> read =
      opened.value()->read(std::min<uint64_t>(stamp.bytes, support::kServiceAnswerBound_bytes));
  if (!read) error = read.message();
  if (!read) return false;
  // A file cut after it was opened.
  if (read.value().size() != stamp.bytes) return sizeRefusal(read.value().size());
  exchange.body = std::move(read.value());
  const std::string checksum = checksumText(exchange.body);
  if (checksum != stamp.checksum) {
    error = bodyPath + ": checksum " + checksum + " where " + namedBy + " says " + stamp.checksum;
    return false;
  }
  return true;
}

// Every body the index names, from the bodies folder held open. A missing
// folder is told as its first body missing.
bool readBodies(const InputFolder& folder, IndexContents& index, std::string& error) {
  support::Result<std::optional<InputFolder>> bodies = folder.folderIfPresent(kBodiesFolderName);
  if (!bodies) {
    error = bodies.message();
    return false;
  }
  const std::string indexPath = folder.pathOf(kIndexFileName);
  // Told before any body is read: each within its bound may still add up to
  // more than a replay should hold.
  uint64_t total = 0;
  for (const BodyStamp& stamp : index.stamps) total += std::min<uint64_t>(stamp.bytes, kMostRecordedAnswerBytes + 1);
  if (total > kMostRecordedAnswerBytes) {
    error = indexPath + ": its answers add up to " + std::to_string(total) + " bytes, more than the " +
            std::to_string(kMostRecordedAnswerBytes) + " a recording may hold";
    return false;
  }
  for (std::size_t i = 0; i < index.exchanges.size(); ++i) {
    RecordedExchange& exchange = index.exchanges[i];
    const std::string namedBy = indexPath + " line " + std::to_string(index.lineNumbers[i]);
    if (!bodies.value()) {
      error = folder.pathOf(exchange.bodyFile) + ": missing (named by " + namedBy + ")";
      return false;
    }
    if (!readBody(*bodies.value(), exchange, index.stamps[i], namedBy, error)) return false;
  }
  return true;
}

}  // namespace

bool readRecording(const std::string& folder, Recording& read, std::string& error) {
  read = Recording{};
  std::optional<InputFolder> opened;
  IndexContents index;
  if (!openFolder(folder, opened, error) || !readIndex(*opened, folder, index, error) ||
      !checkBars(*opened, error) || !readBodies(*opened, index, error))
    return false;
  read.header = std::move(index.header);
  read.exchanges = std::move(index.exchanges);
  read.calls = std::move(index.calls);
  read.barsPath = opened->pathOf(kBarsFileName);
  read.note = std::move(index.note);
  return true;
}

}  // namespace recording

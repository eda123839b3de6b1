// readRecording (recorded_exchange.h): the index, then every body it names,
// each checked against the size and checksum of its line.
#include <fstream>
#include <iterator>

#include "tools/recording/checksum.h"
#include "tools/recording/index_reading.h"
#include "tools/recording/recorded_exchange.h"
#include "tools/recording/recording_files.h"

namespace recording {

namespace {

bool readWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream file(pathOf(path), std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

bool readRecording(const std::string& folder, Recording& read, std::string& error) {
  read = Recording{};
  const std::string base = folderName(folder);
  const std::string indexPath = base + "/" + kIndexFileName;
  std::string text;
  if (!readWholeFile(indexPath, text)) {
    error = indexPath + ": cannot be read (is " + folder + " a recording?)";
    return false;
  }
  IndexContents index;
  if (!readIndexText(text, indexPath, index, error)) return false;
  read.barsPath = base + "/" + kBarsFileName;
  if (!std::ifstream(pathOf(read.barsPath))) {
    error = read.barsPath + ": missing";
    return false;
  }
  for (std::size_t i = 0; i < index.exchanges.size(); ++i) {
    RecordedExchange& exchange = index.exchanges[i];
    const BodyStamp& stamp = index.stamps[i];
    const std::string bodyPath = base + "/" + exchange.bodyFile;
    const std::string namedBy = indexPath + " line " + std::to_string(index.lineNumbers[i]);
    if (!readWholeFile(bodyPath, exchange.body)) {
      error = bodyPath + ": missing (named by " + namedBy + ")";
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
  read.note = std::move(index.note);
  return true;
}

}  // namespace recording

// On Windows a name that opens a device in whatever folder it stands (NUL,
// CON, COM1, ...) and a path into the system's device space are refused as
// inputs before they are opened: opening a port or a console may itself do
// something, and a pipe may never end. A name that only looks like one is a
// file as any other.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/temporary_folder.h"
#include "tools/support/input_file.h"

namespace {

TEST(InputFileOnWindows, RefusesDeviceNamesBeforeOpeningThem) {
  test_files::TemporaryFolder folder;
  const std::string in = folder.path().string() + "\\";
  const std::vector<std::string> devices = {
      in + "NUL", in + "nul.csv", in + "Con", in + "aux .body", in + "COM1.jsonl", in + "lpt9", in + "CONIN$",
      in + "COM\xC2\xB9.csv",  // COM with a superscript 1, in UTF-8
      "\\\\.\\pipe\\tarvio-input", "//./COM1", "\\\\?\\GLOBALROOT\\Device\\Null", "\\??\\NUL"};
  for (const std::string& path : devices)
    EXPECT_EQ(support::readInputFile(path, 100).message(),
              path + ": cannot be read (a device's name, not a regular file)");
  for (const std::string name : {"COM10.csv", "console.csv", "nullable", "LPT.csv"}) {
    std::ofstream(in + name) << "bytes";
    const support::Result<std::string> read = support::readInputFile(in + name, 100);
    EXPECT_EQ(read.ok() ? read.value() : read.message(), "bytes") << name;
  }
}

}  // namespace

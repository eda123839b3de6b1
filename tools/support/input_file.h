// Reading a whole input file within a bound: the bars, the settings, a
// recording's files, the stand-in's certificates and replayed answers. The
// file is opened without following a symbolic link, and what was opened is
// checked before a byte is read: it must be a regular file no larger than
// its bound. A FIFO, a device or a folder is refused at once (never waited
// on, never read without end), and so is a file over its bound, without
// reading it. Thread-safe. A caller that reads several files of one folder
// (a recording) holds the folder open (InputFolder) and opens its files
// inside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "tools/support/result.h"

namespace support {

// The most each kind of input may hold: far above what a real one reaches,
// far below what would exhaust the memory of the machine reading it.
// A bars file: twenty years of one-minute bars around the clock are 10.5
// million lines of under 64 bytes, about 670 MiB.
inline constexpr uint64_t kBarsFileBound_bytes = uint64_t{1} << 30;
// A settings file a person writes: a few hundred bytes.
inline constexpr uint64_t kSettingsFileBound_bytes = uint64_t{1} << 20;
// A recording's index: one line of about 300 bytes per exchange; a year of
// a request every second is 9 GiB, a long day's run a few MiB.
inline constexpr uint64_t kRecordingIndexBound_bytes = uint64_t{256} << 20;
// One answer of the service (a recorded body, a replayed answer): the
// largest, a whole option chain, is a few MiB.
inline constexpr uint64_t kServiceAnswerBound_bytes = uint64_t{64} << 20;
// A certificate or a private key in PEM text: a few KiB.
inline constexpr uint64_t kPemFileBound_bytes = uint64_t{1} << 20;

// The bytes of the regular file at the UTF-8 `path`, or one line saying why
// not: "PATH: cannot be read (REASON)", the reason being the system's ("No
// such file or directory") or what the path is ("a FIFO, not a regular
// file"; "a folder, not a file"; "a symbolic link, not a regular file";
// "N bytes, more than the M an input of its kind may hold"). On Windows a
// device's name (NUL, CON, COM1, ...) or a path into the system's device
// space (\\.\PIPE\...) is refused without being opened, and a reparse
// point (a link or junction) is not followed.
Result<std::string> readInputFile(const std::string& path, uint64_t bound_bytes);

// The same, but no file at all at `path` is not a failure: nothing, for the
// caller to say in its own terms what is missing.
Result<std::optional<std::string>> readInputFileIfPresent(const std::string& path, uint64_t bound_bytes);

// The reason, in the line above, for an input over its bound.
std::string overBoundReason(uint64_t size_bytes, uint64_t bound_bytes);

// A file or folder this process holds open: a file descriptor, or a Windows
// HANDLE as a number. Closed when destroyed; move-only.
class OpenedHandle {
 public:
  static constexpr std::intptr_t kNone = -1;
  explicit OpenedHandle(std::intptr_t value = kNone) : value_(value) {}
  OpenedHandle(OpenedHandle&& other) noexcept : value_(std::exchange(other.value_, kNone)) {}
  OpenedHandle& operator=(OpenedHandle&& other) noexcept;
  OpenedHandle(const OpenedHandle&) = delete;
  OpenedHandle& operator=(const OpenedHandle&) = delete;
  ~OpenedHandle() { close(); }
  std::intptr_t value() const { return value_; }

 private:
  void close();  // one per platform
  std::intptr_t value_;
};

// An input file opened as readInputFile opens one (never through a link, never
// waiting on a FIFO) and checked to be a regular file; its size is the opened
// file's, so a caller can refuse a file by its size before reading a byte.
class InputFile {
 public:
  InputFile(OpenedHandle handle, std::string path, uint64_t size_bytes)
      : handle_(std::move(handle)), path_(std::move(path)), size_bytes_(size_bytes) {}
  const std::string& path() const { return path_; }
  uint64_t size_bytes() const { return size_bytes_; }
  // Its bytes, read once. Over `bound_bytes` it is refused, as readInputFile
  // words it: without reading when its size is, and as soon as more than the
  // bound has come when it grew after it was opened.
  Result<std::string> read(uint64_t bound_bytes);

 private:
  OpenedHandle handle_;
  std::string path_;
  uint64_t size_bytes_;
};

// The file at the UTF-8 `path` opened and checked; nothing when there is none.
Result<std::optional<InputFile>> openInputFileIfPresent(const std::string& path);

// A folder held open while the files in it are read, so that every file comes
// from the folder that was checked: a file is opened inside the held folder
// (never through a link, never a name that leads out of it), and a folder in
// it is opened without following a link. On Windows, where a file is opened
// by its path, the held folder cannot be renamed or replaced while it is
// held, so the path still leads into it.
class InputFolder {
 public:
  // The folder at the UTF-8 `path`, which may be reached through a link (the
  // caller chose it); nothing when there is none; refused when it is no folder.
  static Result<std::optional<InputFolder>> openIfPresent(const std::string& path);

  // The folder `name` inside this one: a link there is refused.
  Result<std::optional<InputFolder>> folderIfPresent(const std::string& name) const;
  // The regular file `name` inside this one: a link, FIFO, device or folder
  // there is refused before a byte is read.
  Result<std::optional<InputFile>> fileIfPresent(const std::string& name) const;
  // A file or folder in this one, as messages name it: "PATH/NAME".
  std::string pathOf(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

  // A folder the platform's code opened and checked.
  InputFolder(OpenedHandle handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {}

 private:
  OpenedHandle handle_;
  std::string path_;
};

// Why `name` is not the name of a file or folder directly inside its folder
// (empty, ".", "..", or holding a separator), or null when it is one.
const char* notAPlainName(const std::string& name);

}  // namespace support

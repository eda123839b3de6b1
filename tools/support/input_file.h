// Reading a whole input file within a bound: the bars, the settings, a
// recording's files, the stand-in's certificates and replayed answers. The
// file is opened without following a symbolic link, and what was opened is
// checked before a byte is read: it must be a regular file no larger than
// its bound. A FIFO, a device or a folder is refused at once (never waited
// on, never read without end), and so is a file over its bound, without
// reading it. Thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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
// "N bytes, more than the M an input of its kind may hold").
Result<std::string> readInputFile(const std::string& path, uint64_t bound_bytes);

// The same, but no file at all at `path` is not a failure: nothing, for the
// caller to say in its own terms what is missing.
Result<std::optional<std::string>> readInputFileIfPresent(const std::string& path, uint64_t bound_bytes);

// The reason, in the line above, for an input over its bound.
std::string overBoundReason(uint64_t size_bytes, uint64_t bound_bytes);

}  // namespace support

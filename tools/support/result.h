// The one shape of a failure in the programs and their libraries: an
// operation either succeeds (with its value) or fails with one line a person
// can act on ("cannot read bars.csv: it is a FIFO, not a regular file").
// Plain values, no exceptions; cheap to move.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace support {

class [[nodiscard]] Status {
 public:
  static Status success() { return Status(); }
  static Status failure(std::string message) {
    Status status;
    status.failed_ = true;
    status.message_ = std::move(message);
    return status;
  }

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  // Why it failed; empty when it succeeded.
  const std::string& message() const { return message_; }

 private:
  bool failed_ = false;
  std::string message_;
};

// A value, or the message of a failure. Built from a T or a failed Status.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Status failure) : message_(failure.message()) { assert(!failure.ok()); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& message() const { return message_; }
  // The value; only when ok().
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The failure alone, to hand on as another operation's outcome.
  Status status() const { return ok() ? Status::success() : Status::failure(message_); }

 private:
  std::optional<T> value_;
  std::string message_;
};

}  // namespace support

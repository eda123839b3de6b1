// Releases a text the current scope owns when the scope is left, by return or
// by exception, so a text taken during a call is never left behind when a
// host operation throws.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

class ScopedRelease {
 public:
  explicit ScopedRelease(HostString& text) : text_(text) {}
  ~ScopedRelease() { releaseHostString(text_); }
  ScopedRelease(const ScopedRelease&) = delete;
  ScopedRelease& operator=(const ScopedRelease&) = delete;

 private:
  HostString& text_;
};

}  // namespace tarvio

// An ordered list of request headers for the host's HTTP facility. It owns
// the header texts and releases them when it goes away, which is right after
// the host took the request.
#pragma once

#include <cstdint>
#include <vector>

#include "study/host_interface.h"

namespace tarvio {

class HeaderList {
 public:
  HeaderList() = default;
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList();

  // A header with a fixed value.
  void add(const char* name, const char* value);
  // A header whose value is formatted printf-style.
  void addFormatted(const char* name, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
      ;

  const HttpHeader* data() const { return headers_.data(); }
  uint32_t count() const { return static_cast<uint32_t>(headers_.size()); }

 private:
  std::vector<HttpHeader> headers_;
};

}  // namespace tarvio

#include "service/header_list.h"

#include <cstdarg>

namespace tarvio {

HeaderList::~HeaderList() {
  for (HttpHeader& header : headers_) {
    releaseHostString(header.name);
    releaseHostString(header.value);
  }
}

void HeaderList::add(const char* name, const char* value) {
  HttpHeader& header = headers_.emplace_back();
  assignHostString(header.name, name);
  assignHostString(header.value, value);
}

void HeaderList::addFormatted(const char* name, const char* format, ...) {
  HttpHeader& header = headers_.emplace_back();
  assignHostString(header.name, name);
  va_list args;
  va_start(args, format);
  formatHostStringList(header.value, format, args);
  va_end(args);
}

}  // namespace tarvio

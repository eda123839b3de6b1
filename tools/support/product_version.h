// The product's version as the build stamped it: MAJOR.MINOR.PATCH from the
// VERSION file, "+", the commit the source tree was at (12 hex digits) and
// ".dirty" when the tree had changes not yet committed:
// "0.1.0+1a2b3c4d5e6f", "0.1.0+1a2b3c4d5e6f.dirty", or "0.1.0+unknown"
// outside a git checkout. Defined by a file the build writes, in the library
// tarvio_product_version (see cmake/product_version.cmake).
#pragma once

#include <string>

namespace support {

const char* productVersion();

// What --version prints: "PROGRAM VERSION" and a line end.
inline std::string versionLine(const std::string& program) { return program + " " + productVersion() + "\n"; }

}  // namespace support

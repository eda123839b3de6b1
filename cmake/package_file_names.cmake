# Read by CPack for each package it makes: the package's version and file
# name carry the version text the build stamped ("0.1.0+1a2b3c4d5e6f", and
# ".dirty" when the tree had changes), so a release from a changed tree says
# so in every name.
file(STRINGS "${CPACK_TARVIO_STAMP_FILE}" tarvio_version_text LIMIT_COUNT 1)
if(NOT tarvio_version_text)
  message(FATAL_ERROR "no version stamp in ${CPACK_TARVIO_STAMP_FILE}: build before packing")
endif()
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_DEBIAN_PACKAGE_VERSION "${tarvio_version_text}")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
else()
  set(CPACK_PACKAGE_FILE_NAME "tarvio-levels-${tarvio_version_text}-windows-x64")
endif()

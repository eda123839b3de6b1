# What a release ships, packed by CPack: on Linux a Debian package of the
# programs and the module (package_debian.cmake), on Windows a zip archive
# of the DLL and the chart program (package_windows.cmake). The packages'
# names carry the version the build stamped, commit and all, which only the
# build knows: package_file_names.cmake reads it when CPack runs.
include(${CMAKE_CURRENT_LIST_DIR}/third_party_licences.cmake)
set(TARVIO_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package_texts)
file(MAKE_DIRECTORY ${TARVIO_PACKAGE_TEXTS})

set(CPACK_PACKAGE_NAME tarvio-levels)
set(CPACK_PACKAGE_VENDOR "Tarvio levels")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "options-positioning levels on a chart: study module and chart program")
set(CPACK_TARVIO_STAMP_FILE ${TARVIO_STAMP_DIR}/version.txt)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_file_names.cmake)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/package_windows.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/package_debian.cmake)
endif()
include(CPack)

# The Windows test program, run under Wine: the module's unit tests, the host
# runtime's tests that need neither libcurl nor a stand-in child process, and
# the Windows tests of the WinHTTP request (against stand-ins the Windows
# stage starts on the build machine) and of the process heap. GoogleTest is
# built from its sources for the cross compiler.
set(TARVIO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (with gmock)")
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TARVIO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_SOURCE_DIR}/broken_modules.cmake)

file(GLOB_RECURSE TARVIO_WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/study/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/data/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/service/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/chart/*_test.cpp)
# The host's own tests (the chart program's, rooms and all, are above), not
# those of folders below host/ (the chart picture is the build machine's).
file(GLOB TARVIO_WINDOWS_HOST_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/host/*_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/recording/*_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/*_test.cpp)
list(APPEND TARVIO_WINDOWS_TEST_SOURCES ${TARVIO_WINDOWS_HOST_TEST_SOURCES})
# libcurl, the system's zone database and child processes are the build
# machine's; their tests stay there, as do POSIX's own (NAME_posix.cpp,
# NAME_posix_test.cpp).
list(FILTER TARVIO_WINDOWS_TEST_SOURCES EXCLUDE REGEX
  "/host/(curl_transport|http_facility_threads|libcurl_sharing|zone_text)_test\\.cpp$|/chart/inputs/zone_names_database_test\\.cpp$|/support/standin_process\\.cpp$|_posix(_test)?\\.cpp$")
add_executable(tarvio_windows_tests ${TARVIO_WINDOWS_TEST_SOURCES}
  ${CMAKE_CURRENT_SOURCE_DIR}/integration/recorded_request.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/module_on_chart.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/windows_test_main.cpp)
target_include_directories(tarvio_windows_tests PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tarvio_windows_tests PRIVATE tarvio_study tarvio_https_get_test_route tarvio_chart_tool
  gtest gmock)
tarvio_add_module(tarvio_test_route_module ${CMAKE_CURRENT_BINARY_DIR}/test_route
  tarvio_https_get_test_route)
add_dependencies(tarvio_windows_tests tarvio_v4_graphics_64 tarvio_test_route_module
  test_module_missing_export test_module_wrong_version)
target_compile_definitions(tarvio_windows_tests PRIVATE
  TARVIO_MODULE_PATH="$<TARGET_FILE:tarvio_v4_graphics_64>"
  TARVIO_TEST_ROUTE_MODULE_PATH="$<TARGET_FILE:tarvio_test_route_module>"
  TARVIO_MISSING_EXPORT_MODULE_PATH="$<TARGET_FILE:test_module_missing_export>"
  TARVIO_WRONG_VERSION_MODULE_PATH="$<TARGET_FILE:test_module_wrong_version>"
  TARVIO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
tarvio_test_program(tarvio_windows_tests)
add_test(NAME windows_tests COMMAND tarvio_windows_tests)
set_tests_properties(windows_tests PROPERTIES TIMEOUT 600)

# Adds a stand-in's certificate to the trusted roots of the Wine prefix the
# tests run in (never to the build machine's own store).
add_executable(tarvio_trust_certificate ${CMAKE_CURRENT_SOURCE_DIR}/windows/trust_certificate.cpp)
target_link_libraries(tarvio_trust_certificate PRIVATE crypt32)

# The DLL exports exactly its three entry points and imports system DLLs only.
add_test(NAME module_exports_only_entry_points
  COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:tarvio_v4_graphics_64> -DOBJDUMP=${CMAKE_OBJDUMP}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/check_module_exports.cmake)

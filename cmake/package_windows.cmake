# The Windows archive: a zip of one folder holding the DLL, tarvio-chart.exe
# (which loads the DLL beside it), a short install text, the checksums of the
# two files, and in licences/ the licence texts of what is linked into them.
# Texts have Windows line ends. (No semicolon in the licence list's
# entries: CMake would split them.)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

# The import library of the DLL is for linking against it, which no user does.
install(TARGETS tarvio_v4_graphics_64 RUNTIME DESTINATION . ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
if(TARGET tarvio-chart)
  install(TARGETS tarvio-chart RUNTIME DESTINATION .)
endif()
file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/INSTALL.txt install_text)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/INSTALL.txt)
tarvio_write_windows_text(${TARVIO_PACKAGE_TEXTS}/INSTALL.txt "${install_text}")
install(FILES ${TARVIO_PACKAGE_TEXTS}/INSTALL.txt DESTINATION .)

# The checksums of the installed files, after stripping: what a trader
# compares with the DLL in the host's folder.
install(CODE [[
  set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(sums "")
  foreach(name tarvio_v4_graphics_64.dll tarvio-chart.exe)
    file(SHA256 "${folder}/${name}" sum)
    string(APPEND sums "${sum}  ${name}\r\n")
  endforeach()
  file(WRITE "${folder}/SHA256SUMS.txt" "${sums}")
]])

set(both "tarvio_v4_graphics_64.dll and tarvio-chart.exe")
set(licences
  "mingw-w64-runtime.txt|The mingw-w64 runtime and winpthreads, compiled into ${both}.|/usr/share/doc/mingw-w64-x86-64-dev/copyright"
  "gcc-runtime.txt|The GCC runtime (libgcc, libstdc++), compiled into ${both}. The GPL it names is in GPL-3.txt.|/usr/share/doc/g++-mingw-w64-x86-64-posix/copyright"
  "GPL-3.txt|The GNU General Public License, version 3, under which the GCC runtime comes with its runtime library exception (see gcc-runtime.txt).|/usr/share/common-licenses/GPL-3"
  "RapidJSON.txt|RapidJSON, compiled into ${both}.|/usr/share/doc/rapidjson-dev/copyright"
  "CLI11.txt|CLI11, compiled into tarvio-chart.exe.|/usr/share/doc/libcli11-dev/copyright")
foreach(entry IN LISTS licences)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 file_name)
  list(GET fields 1 heading)
  list(GET fields 2 source)
  tarvio_licence_text("${heading}" ${source} text)
  tarvio_write_windows_text(${TARVIO_PACKAGE_TEXTS}/licences/${file_name} "${text}")
  install(FILES ${TARVIO_PACKAGE_TEXTS}/licences/${file_name} DESTINATION licences)
endforeach()

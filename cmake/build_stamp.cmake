# Run at every build: finds the commit the source tree is at and whether it
# has changes not yet committed (untracked files count: a new source file
# changes what is built), and writes the version texts the programs and the
# Windows version resources carry. configure_file and file(CONFIGURE) leave
# a file alone when its text is the same, so nothing is rebuilt for an
# unchanged tree.
#   cmake -DSOURCE_DIR=... -DOUTPUT_DIR=... -DVERSION=MAJOR.MINOR.PATCH -P build_stamp.cmake
cmake_policy(VERSION 3.25)
if(NOT SOURCE_DIR OR NOT OUTPUT_DIR OR NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=DIR -DOUTPUT_DIR=DIR -DVERSION=M.m.p -P build_stamp.cmake")
endif()
set(V_MAJOR ${CMAKE_MATCH_1})
set(V_MINOR ${CMAKE_MATCH_2})
set(V_PATCH ${CMAKE_MATCH_3})

# --no-optional-locks: the stamp only looks, so it never holds the index's
# lock against a git command running at the same time.
set(commit "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM)
  execute_process(COMMAND ${GIT_PROGRAM} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
    OUTPUT_VARIABLE head RESULT_VARIABLE head_failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_PROGRAM} --no-optional-locks -C ${SOURCE_DIR} status --porcelain
    OUTPUT_VARIABLE changes RESULT_VARIABLE status_failed ERROR_QUIET)
  if(NOT head_failed AND NOT status_failed AND head MATCHES "^[0-9a-f]+$")
    set(commit ${head})
  endif()
endif()

if(NOT commit)
  set(VERSION_TEXT "${VERSION}+unknown")
  set(BUILD_COMMENT "Built outside a git checkout: commit unknown")
elseif(changes)
  set(VERSION_TEXT "${VERSION}+${commit}.dirty")
  set(BUILD_COMMENT "Built from commit ${commit} with changes not yet committed")
else()
  set(VERSION_TEXT "${VERSION}+${commit}")
  set(BUILD_COMMENT "Built from commit ${commit}")
endif()

set(here ${CMAKE_CURRENT_LIST_DIR})
file(CONFIGURE OUTPUT ${OUTPUT_DIR}/version.txt CONTENT "${VERSION_TEXT}\n")
configure_file(${here}/product_version.cpp.in ${OUTPUT_DIR}/product_version.cpp @ONLY)

set(ORIGINAL_FILENAME tarvio_v4_graphics_64.dll)
set(FILE_DESCRIPTION "Tarvio levels: options-positioning study for charts")
set(FILE_TYPE VFT_DLL)
configure_file(${here}/version_resource.rc.in ${OUTPUT_DIR}/module_version.rc @ONLY)
set(ORIGINAL_FILENAME tarvio-chart.exe)
set(FILE_DESCRIPTION "Tarvio levels: runs the study on one chart from the command line")
set(FILE_TYPE VFT_APP)
configure_file(${here}/version_resource.rc.in ${OUTPUT_DIR}/chart_version.rc @ONLY)

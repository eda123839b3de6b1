# Reads every direct include of the project's own code and fails, naming the
# file and the include, where a folder reaches what the layers do not allow:
#   study/ service/ data/ render/  the module: never host/ or tools/
#   host/                          of the module, only the boundary header
#   tools/support                  of the module only the boundary header; no host/, no other tool
#   tools/recording                of the module only the boundary header; no host/; tools/support
#   tools/standin                  tools/support and tools/recording; no host/, nothing of the module
#   tools/chart                    the module only through its door (tools/chart/study_door/)
# It also fails on any function over MAX_LINES lines outside tests (a
# declarative table is no function). A function is found as the project's
# formatting writes one: its first line and its closing brace at the start of
# a line.
#   cmake -DSOURCE_DIR=... [-DMAX_LINES=60] -P check_layering.cmake
cmake_policy(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=DIR -P check_layering.cmake")
endif()
if(NOT MAX_LINES)
  set(MAX_LINES 60)
endif()

set(boundary "study/host_interface.h")
set(module_folders study service data render)

# Whether `include` (a quoted include's path) is allowed in `file` (relative
# to the source folder); sets `why` to the broken rule otherwise.
function(check_include file include result_var why_var)
  string(REGEX MATCH "^[^/]+" top "${include}")
  set(module_include FALSE)
  if(top IN_LIST module_folders AND NOT include STREQUAL boundary)
    set(module_include TRUE)
  endif()
  set(why "")
  if(file MATCHES "^(study|service|data|render)/")
    if(include MATCHES "^(host|tools)/")
      set(why "the module never includes host/ or tools/")
    endif()
  elseif(file MATCHES "^host/")
    if(module_include OR include MATCHES "^tools/")
      set(why "host/ includes only the boundary header of the module, and nothing of tools/")
    endif()
  elseif(file MATCHES "^tools/support/")
    if(module_include OR include MATCHES "^host/" OR
       (include MATCHES "^tools/" AND NOT include MATCHES "^tools/support/"))
      set(why "tools/support includes only itself and the boundary header")
    endif()
  elseif(file MATCHES "^tools/recording/")
    if(module_include OR include MATCHES "^host/" OR include MATCHES "^tools/(chart|standin)/")
      set(why "tools/recording includes tools/support and the boundary header, nothing of host/")
    endif()
  elseif(file MATCHES "^tools/standin/")
    if(top IN_LIST module_folders OR include MATCHES "^host/" OR include MATCHES "^tools/chart/")
      set(why "the stand-in includes tools/support and tools/recording, never host/ or the module")
    endif()
  elseif(file MATCHES "^tools/chart/")
    if(module_include AND NOT file MATCHES "^tools/chart/study_door/")
      set(why "the chart program reaches the module only through tools/chart/study_door/")
    endif()
  endif()
  set(${why_var} "${why}" PARENT_SCOPE)
endfunction()

# Sets `long` to "first_line:length" for each function of `lines` over the limit.
function(find_long_functions lines long_var)
  set(long "")
  set(number 0)
  set(start 0)
  set(in_function FALSE)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(in_function)
      math(EXPR second "${start} + 1")
      # A function that only hands out a static table is the table itself.
      if(number EQUAL second AND line MATCHES "^  static const[^=(]*= {$")
        set(in_function FALSE)
      elseif(line MATCHES "^}")
        math(EXPR length "${number} - ${start} + 1")
        if(length GREATER MAX_LINES)
          list(APPEND long "${start}:${length}")
        endif()
        set(in_function FALSE)
      endif()
    elseif(line MATCHES "^[A-Za-z_].*\\(" AND NOT line MATCHES
           "^(namespace|struct|class|enum|union|extern|template|using|typedef|static_assert|return|#)"
           AND NOT line MATCHES "^[^(]*=" AND NOT line MATCHES "(=|@SEMICOLON@)[^)]*$")
      set(start ${number})
      set(in_function TRUE)
    endif()
  endforeach()
  set(${long_var} "${long}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/study/*.h ${SOURCE_DIR}/study/*.cpp ${SOURCE_DIR}/service/*.h ${SOURCE_DIR}/service/*.cpp
  ${SOURCE_DIR}/data/*.h ${SOURCE_DIR}/data/*.cpp ${SOURCE_DIR}/render/*.h ${SOURCE_DIR}/render/*.cpp
  ${SOURCE_DIR}/host/*.h ${SOURCE_DIR}/host/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
set(problems "")
foreach(file IN LISTS sources)
  # A semicolon would split a line in two: it is kept as a word of its own.
  file(READ ${SOURCE_DIR}/${file} text)
  string(REPLACE ";" "@SEMICOLON@" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      check_include("${file}" "${CMAKE_MATCH_1}" allowed why)
      if(why)
        list(APPEND problems "${file}: includes ${CMAKE_MATCH_1}: ${why}")
      endif()
    endif()
  endforeach()
  find_long_functions("${lines}" long)
  foreach(found IN LISTS long)
    string(REPLACE ":" ";" parts "${found}")
    list(GET parts 0 first_line)
    list(GET parts 1 length)
    list(APPEND problems "${file}:${first_line}: a function of ${length} lines (at most ${MAX_LINES})")
  endforeach()
endforeach()

list(LENGTH sources checked)
if(problems)
  list(JOIN problems "\n" report)
  message(FATAL_ERROR "layering or function length broken:\n${report}")
endif()
message(STATUS "${checked} files follow the layers; no function over ${MAX_LINES} lines")

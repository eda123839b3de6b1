# The version's two halves: the VERSION file, refused unless it holds
# numbers a Windows version resource can carry; and the build's stamp on a
# throw-away git tree, which must tell a clean tree from one with changes
# (untracked files too) and leave its files alone when nothing changed, so
# a build of an unchanged tree rebuilds nothing.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -P version_stamp_test.cmake
cmake_policy(VERSION 3.25)
include(${SOURCE_DIR}/cmake/product_version.cmake)
set(failures "")
macro(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    list(APPEND failures "${what}: got '${actual}', expected '${expected}'")
  endif()
endmacro()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
# Git looks no higher than the work folder, which lies in a checkout itself.
set(ENV{GIT_CEILING_DIRECTORIES} ${WORK_DIR})

# VERSION file text -> the version read, or "refused".
set(cases
  "1.4.0\n=1.4.0" "0.1.0=0.1.0" " 2.0.7 \r\n=2.0.7" "1.2.65535=1.2.65535"
  "1.2.65536=refused" "1.2=refused" "1.2.3.4=refused" "v1.2.3=refused" "01.2.3=refused"
  "1.2.3-rc1=refused" "1.2.3\n1.2.4=refused" "=refused" "99999999999999999999.0.0=refused")
foreach(case IN LISTS cases)
  string(REGEX REPLACE "=[^=]*$" "" text "${case}")
  string(REGEX REPLACE "^.*=" "" expected "${case}")
  file(WRITE ${WORK_DIR}/VERSION "${text}")
  tarvio_read_version_file(${WORK_DIR}/VERSION read error)
  if(error)
    set(read refused)
  endif()
  expect("VERSION '${case}'" "${read}" "${expected}")
endforeach()
tarvio_read_version_file(${WORK_DIR}/NONE read error)
expect("a missing VERSION file is refused" "${read}" "")

# The stamp of a tree at `state`: its version text.
set(tree ${WORK_DIR}/tree)
set(out ${WORK_DIR}/stamp)
function(stamp_of state_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DOUTPUT_DIR=${out} -DVERSION=3.1.4
    -P ${SOURCE_DIR}/cmake/build_stamp.cmake RESULT_VARIABLE failed)
  file(STRINGS ${out}/version.txt text)
  if(failed)
    set(text "the stamp failed")
  endif()
  set(${state_var} "${text}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${tree})
stamp_of(outside)
expect("outside a git checkout" "${outside}" "3.1.4+unknown")

find_program(GIT git REQUIRED)
macro(git)
  execute_process(COMMAND ${GIT} -C ${tree} -c user.name=t -c user.email=t@example.invalid ${ARGN}
    OUTPUT_QUIET ERROR_QUIET)
endmacro()
git(init -q)
file(WRITE ${tree}/a.txt "a\n")
git(add a.txt)
git(commit -q -m first)
execute_process(COMMAND ${GIT} -C ${tree} rev-parse --short=12 HEAD OUTPUT_VARIABLE head
  OUTPUT_STRIP_TRAILING_WHITESPACE)
stamp_of(clean)
expect("a clean tree" "${clean}" "3.1.4+${head}")
file(READ ${out}/module_version.rc resource)
string(REGEX MATCH "FILEVERSION [0-9,]+" numbers "${resource}")
expect("the resource's numbers" "${numbers}" "FILEVERSION 3,1,4,0")
string(REGEX MATCH "\"ProductVersion\", \"[^\"]*\"" text "${resource}")
expect("the resource's text" "${text}" "\"ProductVersion\", \"3.1.4+${head}\"")
file(READ ${out}/product_version.cpp source)
string(FIND "${source}" "\"3.1.4+${head}\"" at)
if(at LESS 0)
  list(APPEND failures "product_version.cpp does not hold the stamp")
endif()

# Stamped again with nothing changed: no file is written anew.
file(TIMESTAMP ${out}/product_version.cpp before "%s")
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
stamp_of(again)
file(TIMESTAMP ${out}/product_version.cpp after "%s")
expect("an unchanged tree leaves the stamp's files alone" "${after}" "${before}")

file(APPEND ${tree}/a.txt "changed\n")
stamp_of(changed)
expect("a changed file" "${changed}" "3.1.4+${head}.dirty")
git(checkout -q -- a.txt)
file(WRITE ${tree}/new.cpp "\n")
stamp_of(untracked)
expect("an untracked file" "${untracked}" "3.1.4+${head}.dirty")

file(REMOVE_RECURSE ${WORK_DIR})
if(failures)
  string(REPLACE ";" "\n  " failures "${failures}")
  message(FATAL_ERROR "version and stamp:\n  ${failures}")
endif()

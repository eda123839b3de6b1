# Lists the dynamic symbols a module defines and fails unless they are exactly
# the three entry points.
execute_process(COMMAND nm -D --defined-only --format=posix ${MODULE}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REGEX MATCHALL "(^|\n)[^ \n]+" names "${symbols}")
set(found "")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  list(APPEND found "${name}")
endforeach()
list(SORT found)
set(expected scdll_DLLName scdll_DLLVersion scsf_TarvioLevels)
if(NOT "${found}" STREQUAL "${expected}")
  message(FATAL_ERROR "module exports [${found}], expected [${expected}]")
endif()
message(STATUS "exports: ${found}")

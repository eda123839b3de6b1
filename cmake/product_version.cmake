# The product's version, MAJOR.MINOR.PATCH, kept in the VERSION file at the
# top of the tree and read here before the project is declared. No number
# has a leading zero and each fits the 16 bits a Windows version resource
# gives it, so the text reads back as the same numbers wherever it is shown.
# The commit and whether the tree had changes are added at build time
# (build_stamp.cmake), as only the build knows them.

# Reads `version_file`: sets `out_var` to its MAJOR.MINOR.PATCH, or
# `error_var` to why the file holds none.
function(tarvio_read_version_file version_file out_var error_var)
  set(version "")
  set(error "")
  if(NOT EXISTS "${version_file}")
    set(error "${version_file} is missing")
  else()
    file(READ "${version_file}" text)
    string(STRIP "${text}" line)
    set(number "(0|[1-9][0-9]*)")
    if(NOT line MATCHES "^${number}\\.${number}\\.${number}$")
      set(error "${version_file} holds '${line}', not MAJOR.MINOR.PATCH (e.g. 1.4.0)")
    elseif(CMAKE_MATCH_1 GREATER 65535 OR CMAKE_MATCH_2 GREATER 65535 OR CMAKE_MATCH_3 GREATER 65535)
      set(error "${version_file} holds '${line}': a Windows version resource takes numbers up to 65535")
    else()
      set(version "${line}")
    endif()
  endif()
  set(${out_var} "${version}" PARENT_SCOPE)
  set(${error_var} "${error}" PARENT_SCOPE)
endfunction()

# After project(): the target that stamps every build with the version, the
# commit and whether the tree had changes, and the small library holding the
# text (support::productVersion()). Its files are rewritten only when their
# text changes, so a build of an unchanged tree rebuilds nothing.
function(tarvio_add_build_stamp)
  set(stamp_dir ${CMAKE_BINARY_DIR}/build_stamp)
  add_custom_target(tarvio_build_stamp
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT_DIR=${stamp_dir}
            -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/build_stamp.cmake
    BYPRODUCTS ${stamp_dir}/product_version.cpp ${stamp_dir}/version.txt
               ${stamp_dir}/module_version.rc ${stamp_dir}/chart_version.rc
    COMMENT "Stamping the build with its version and commit" VERBATIM)
  add_library(tarvio_product_version STATIC ${stamp_dir}/product_version.cpp)
  target_include_directories(tarvio_product_version PUBLIC ${PROJECT_SOURCE_DIR})
  add_dependencies(tarvio_product_version tarvio_build_stamp)
  set(TARVIO_STAMP_DIR ${stamp_dir} PARENT_SCOPE)
endfunction()

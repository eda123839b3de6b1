# How a GoogleTest program of the project is compiled. Its sources are many
# small files that each parse GoogleTest, RapidJSON and the standard library,
# so those come precompiled. The tests' own code is compiled at -O1: what they
# test (the libraries, the module, the programs) keeps its build type's
# optimisation, and a test's code gains nothing from -O3 but compile time.
# The test sources share names in their unnamed namespaces, so each stays a
# translation unit of its own.
function(tarvio_test_program target)
  set_target_properties(${target} PROPERTIES UNITY_BUILD OFF)
  target_compile_options(${target} PRIVATE -O1)
  target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <rapidjson/document.h>
    <filesystem> <fstream> <functional> <map> <sstream> <string> <vector>
    ${PROJECT_SOURCE_DIR}/study/host_interface.h)
endfunction()

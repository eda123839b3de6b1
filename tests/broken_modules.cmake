# Modules that are broken on purpose, for the loader's refusal paths; the
# Linux and the Windows test programs both load them.
add_library(test_module_missing_export SHARED ${CMAKE_CURRENT_LIST_DIR}/host/modules/missing_export_module.cpp)
add_library(test_module_wrong_version SHARED ${CMAKE_CURRENT_LIST_DIR}/host/modules/wrong_version_module.cpp)
foreach(module test_module_missing_export test_module_wrong_version)
  set_target_properties(${module} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET default)
  target_include_directories(${module} PRIVATE ${PROJECT_SOURCE_DIR})
endforeach()

# The runtime-not-found dialog of the real launcher, with no runtime anywhere.
# Needs an empty set of vendor keys, so it takes turns with the tests that
# write them.
jl_add_test(runtime_dialog_e2e_tests SOURCES RuntimeDialogE2eTest.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/DialogScript.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/RuntimeTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/VendorRegistry.cpp
  LIBS jl_e2e_harness jl_pixels TIMEOUT 600)
add_dependencies(runtime_dialog_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(runtime_dialog_e2e_tests fakejvm)
endif()
set_tests_properties(runtime_dialog_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)
add_test(NAME runtime_dialog_e2e_tests_144dpi COMMAND runtime_dialog_e2e_tests --gtest_color=no
  --gtest_filter=*.Pixels*)
set_tests_properties(runtime_dialog_e2e_tests_144dpi PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
  ENVIRONMENT "JL_BUILD_DIR=${PROJECT_BINARY_DIR};JL_PEER_BUILD=${JL_PEER_BUILD};JL_TEST_DPI=144")

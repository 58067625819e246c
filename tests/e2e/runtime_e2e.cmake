# Runtime discovery through the real launcher: which source wins, the
# registry views, the hand-over to the paired launcher. Writes vendor keys
# into the test prefix, so it takes turns with the other tests that do.
jl_add_test(runtime_e2e_tests SOURCES RuntimeE2eTest.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/RuntimeTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/VendorRegistry.cpp
  LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(runtime_e2e_tests ${JL_LAUNCHER_NAME})
set_tests_properties(runtime_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

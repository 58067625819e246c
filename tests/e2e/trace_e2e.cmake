# The launch trace through the real launcher: the lines a user reads in the
# file that JLAUNCH_TRACE names. Writes vendor keys into the test prefix, so
# it takes turns with the other tests that do.
jl_add_test(trace_e2e_tests SOURCES TraceE2eTest.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/RuntimeTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/VendorRegistry.cpp
  LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(trace_e2e_tests ${JL_LAUNCHER_NAME})
set_tests_properties(trace_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

# The ordered runtime search over real registry keys and runtime folders.
# Tests that write vendor keys into the test prefix take turns.
jl_add_test(runtime_search_tests SOURCES
  RegistrySearchTest.cpp
  FindRuntimeTest.cpp
  SearchFixture.cpp
  VendorRegistry.cpp
  RuntimeTestSupport.cpp)
set_tests_properties(runtime_search_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

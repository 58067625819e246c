# The ordered runtime search over real registry keys and runtime folders.
# Tests that write vendor keys into the test prefix take turns.
jl_add_test(runtime_search_tests SOURCES
  RegistrySearchTest.cpp
  DistributorSearchTest.cpp
  FindRuntimeTest.cpp
  SearchFixture.cpp
  DialogScript.cpp
  VendorRegistry.cpp
  RuntimeTestSupport.cpp)
set_tests_properties(runtime_search_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

# Benchmark, run by scripts/bench rather than by CTest.
add_executable(runtime_search_bench RuntimeSearchBench.cpp VendorRegistry.cpp RuntimeTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/res/launcher.rc)
target_compile_definitions(runtime_search_bench PRIVATE ${JL_COMMON_DEFINES})
target_include_directories(runtime_search_bench PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(runtime_search_bench PRIVATE jl_frontend_gui jl_core GTest::gtest)
jl_static_link(runtime_search_bench)

jl_add_test(jvm_host_tests SOURCES
  ClassPathTest.cpp
  EnvironmentTest.cpp
  VmCreationTest.cpp
  AnsiOptionsTest.cpp)

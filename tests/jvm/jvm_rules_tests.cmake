jl_add_test(jvm_rules_tests SOURCES
  VmParametersTest.cpp
  MemoryOptionsTest.cpp
  PathRulesTest.cpp)

jl_add_test(commandline_tests SOURCES
  CommandLineTokensTest.cpp
  CommandLineFuzzTest.cpp)

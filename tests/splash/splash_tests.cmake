jl_add_test(splash_tests SOURCES
  SplashRulesTest.cpp
  SplashStartTest.cpp)

# Ranking, choice and key filtering of registry runtimes: plain logic.
jl_add_test(runtime_ranking_tests SOURCES
  CandidateRankingTest.cpp
  VendorKeysTest.cpp)

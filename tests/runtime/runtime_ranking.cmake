# Ranking, choice and key filtering of registry runtimes, release files: plain logic.
jl_add_test(runtime_ranking_tests SOURCES
  CandidateRankingTest.cpp
  ReleaseFileTest.cpp
  VendorKeysTest.cpp)

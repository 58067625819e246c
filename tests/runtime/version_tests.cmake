jl_add_test(version_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/VersionTest.cpp)

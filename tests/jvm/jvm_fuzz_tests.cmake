jl_add_test(jvm_fuzz_tests SOURCES JvmParserFuzzTest.cpp)

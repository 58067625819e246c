# Tests of the stand-in Java runtime itself (tests/support/fakejvm).
jl_add_test(fakejvm_tests SOURCES FakeJvmTest.cpp FakeJvmScenarioTest.cpp)
add_dependencies(fakejvm_tests fakejvm)

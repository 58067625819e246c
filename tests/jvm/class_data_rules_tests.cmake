# The per-application class-data archive: when its options are added, its name, which archives stay.
jl_add_test(class_data_rules_tests SOURCES ClassDataSharingRulesTest.cpp)

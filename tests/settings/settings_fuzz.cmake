# Random and adversarial version texts and embedded INI texts.
jl_add_test(settings_fuzz_tests SOURCES SettingsFuzzTest.cpp)

# Where the launcher finds its settings, run against the real launcher.
jl_add_test(settings_e2e_tests SOURCES SettingsE2eTest.cpp LIBS jl_e2e_harness TIMEOUT 300)
add_dependencies(settings_e2e_tests ${JL_LAUNCHER_NAME})
# Some cases expect no registered runtime: keep the registry tests away.
set_tests_properties(settings_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

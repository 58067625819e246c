# The console launcher with pipes for its standard streams: the program's
# output, messages, exit codes, hand-over to a console pair, control events.
jl_add_test(console_e2e_tests SOURCES JvmE2eSupport.cpp LaunchModesE2eSupport.cpp ConsoleE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(console_e2e_tests ${JL_LAUNCHER_NAME} ${JL_CONSOLE_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(console_e2e_tests fakejvm)
endif()
# Its "no runtime" cases need a prefix without the vendor keys other tests write.
set_tests_properties(console_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

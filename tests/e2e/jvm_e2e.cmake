# The launcher hosting the stand-in Java runtime, seen from outside: options,
# arguments, environment, messages, exit codes, stack size, working folder.
jl_add_test(jvm_e2e_tests SOURCES JvmE2eSupport.cpp JvmLaunchE2eTest.cpp JvmFailureE2eTest.cpp
            JvmSettingsE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(jvm_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(jvm_e2e_tests fakejvm)
endif()

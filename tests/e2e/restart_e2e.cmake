# The restart exit code through the real launcher: the restarted process,
# single instance across a restart, and the crash-loop guard.
jl_add_test(restart_e2e_tests SOURCES JvmE2eSupport.cpp LaunchModesE2eSupport.cpp RestartE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(restart_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(restart_e2e_tests fakejvm)
endif()

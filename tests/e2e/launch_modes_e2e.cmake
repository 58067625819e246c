# Single-instance, service and paired-launcher launches seen from outside:
# several launcher processes at once, the stand-in runtime of both builds.
jl_add_test(launch_modes_e2e_tests SOURCES JvmE2eSupport.cpp LaunchModesE2eSupport.cpp LaunchModesE2eTest.cpp
            PairHandOverE2eTest.cpp LIBS jl_e2e_harness TIMEOUT 900)
add_dependencies(launch_modes_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(launch_modes_e2e_tests fakejvm)
endif()

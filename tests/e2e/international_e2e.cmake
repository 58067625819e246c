# Applications in folders named outside the ANSI code page, and texts outside
# it, through the real launcher on the stand-in runtime.
jl_add_test(international_e2e_tests SOURCES JvmE2eSupport.cpp LaunchModesE2eSupport.cpp InternationalE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(international_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(international_e2e_tests fakejvm)
endif()

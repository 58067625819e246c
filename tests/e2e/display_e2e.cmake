# The splash screen and the uncaught-exception dialog as a user meets them:
# windows, pixels, owners, the runtime's splash library, choices and exit codes.
jl_add_test(display_e2e_tests SOURCES JvmE2eSupport.cpp DisplayE2eSupport.cpp SplashE2eTest.cpp
            NativeSplashE2eTest.cpp ExceptionDialogE2eTest.cpp
            LIBS jl_e2e_harness gdi32 TIMEOUT 900)
add_dependencies(display_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(display_e2e_tests fakejvm)
endif()

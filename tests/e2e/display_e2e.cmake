# The splash screen and the uncaught-exception dialog as a user meets them:
# windows, pixels, owners, the runtime's splash library, choices and exit codes.
jl_add_test(display_e2e_tests SOURCES JvmE2eSupport.cpp DisplayE2eSupport.cpp SplashE2eTest.cpp
            NativeSplashE2eTest.cpp ExceptionDialogE2eTest.cpp
            LIBS jl_e2e_harness jl_pixels gdi32 TIMEOUT 900)
add_dependencies(display_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(display_e2e_tests fakejvm)
endif()
# Their pixels again with the launchers at 144 DPI. Every process started
# meanwhile would get that DPI, so nothing else runs beside them.
add_test(NAME display_e2e_tests_144dpi COMMAND display_e2e_tests --gtest_color=no --gtest_filter=*.Pixels*)
set_tests_properties(display_e2e_tests_144dpi PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
  ENVIRONMENT "JL_BUILD_DIR=${PROJECT_BINARY_DIR};JL_PEER_BUILD=${JL_PEER_BUILD};JL_TEST_DPI=144")

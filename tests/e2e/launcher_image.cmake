# The built launchers read as files: subsystem, imports, sections.
jl_add_test(launcher_image_tests SOURCES LauncherImageTest.cpp LIBS jl_e2e_harness imagehlp)
add_dependencies(launcher_image_tests ${JL_LAUNCHER_NAME} ${JL_CONSOLE_LAUNCHER_NAME})

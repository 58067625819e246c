# JVM library location and the architecture check.

# A real image of this build's machine type; the peer build makes its twin.
add_library(runtime_tiny_dll SHARED TinyDll.cpp)
set_target_properties(runtime_tiny_dll PROPERTIES PREFIX "" OUTPUT_NAME tiny
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/runtime_test_data)
jl_static_link(runtime_tiny_dll)

jl_add_test(runtime_library_tests SOURCES
  JvmLibraryTest.cpp
  PeImageViewTest.cpp
  RuntimeTestSupport.cpp)
add_dependencies(runtime_library_tests runtime_tiny_dll ${JL_LAUNCHER_NAME} ${JL_CONSOLE_LAUNCHER_NAME})

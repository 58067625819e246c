# Shared compile settings for the launcher and its tests.

# jni.h comes from the build machine's JDK; jni_md.h is the project's own
# (Windows calling convention and integer sizes).
function(find_jni_headers)
  file(GLOB _jni_candidates /usr/lib/jvm/*/include/jni.h)
  if(NOT _jni_candidates)
    message(FATAL_ERROR "jni.h not found under /usr/lib/jvm (install a JDK)")
  endif()
  list(GET _jni_candidates 0 _jni_h)
  get_filename_component(_jni_dir "${_jni_h}" DIRECTORY)
  set(JL_JNI_INCLUDE_DIR "${_jni_dir}" CACHE PATH "Folder holding jni.h")
endfunction()

set(JL_COMMON_DEFINES UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0602 WINVER=0x0602)

# The launcher itself: no exceptions, no RTTI, small code. -fno-ipa-sra keeps
# the compiler from giving every source file its own private copy of the
# text helpers that the others share.
function(jl_launcher_flags target)
  target_compile_definitions(${target} PRIVATE ${JL_COMMON_DEFINES})
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-ipa-sra>
    $<$<COMPILE_LANGUAGE:C,CXX>:-Os -Wall -Wextra -ffunction-sections -fdata-sections
                                -fno-asynchronous-unwind-tables>)
endfunction()

# Statically linked Windows executable or DLL.
function(jl_static_link target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
                      -Wl,--gc-sections)
endfunction()

# Test executables: GoogleTest, the launcher library with the GUI launcher's
# front end and the launcher's resources (so that string-table lookups see the
# real table).
function(jl_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/res/launcher.rc)
  target_compile_definitions(${name} PRIVATE ${JL_COMMON_DEFINES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE jl_frontend_gui jl_core GTest::gtest_main ${T_LIBS})
  jl_static_link(${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "JL_BUILD_DIR=${PROJECT_BINARY_DIR};JL_PEER_BUILD=${JL_PEER_BUILD}")
endfunction()

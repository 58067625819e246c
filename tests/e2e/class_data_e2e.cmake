# The per-application class-data archive through the real launcher: the VM
# options, the archive folder, the trace and the pruning of older archives.
jl_add_test(class_data_e2e_tests SOURCES JvmE2eSupport.cpp ClassDataSharingE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(class_data_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(class_data_e2e_tests fakejvm)
endif()

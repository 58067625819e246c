# Modular applications through the real launcher: main module, module path,
# added modules, and the runtimes that cannot start them.
jl_add_test(module_e2e_tests SOURCES JvmE2eSupport.cpp ModuleE2eTest.cpp
            LIBS jl_e2e_harness TIMEOUT 600)
add_dependencies(module_e2e_tests ${JL_LAUNCHER_NAME})
if(TARGET fakejvm)
  add_dependencies(module_e2e_tests fakejvm)
endif()
# A refused runtime leads the search on to the registry.
set_tests_properties(module_e2e_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

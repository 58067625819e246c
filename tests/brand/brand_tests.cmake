# The branding tool: its input checks on tables of cases, branded copies read
# back, refused inputs, and a branded launcher run on its embedded settings.
jl_add_test(brand_tests TIMEOUT 300 SOURCES
  BrandInputsTest.cpp BrandTest.cpp BrandE2eTest.cpp BrandTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/JvmE2eSupport.cpp
  LIBS jl_brand jl_e2e_harness version)
add_dependencies(brand_tests jlaunch-brand ${JL_LAUNCHER_NAME} jl_bare)
if(TARGET fakejvm)
  add_dependencies(brand_tests fakejvm)
endif()

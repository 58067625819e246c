# The branding tool: its input checks on tables of cases, branded copies read
# back, refused inputs, and a branded launcher run on its embedded settings.
jl_add_test(brand_tests TIMEOUT 300 SOURCES
  BrandInputsTest.cpp BrandTest.cpp BrandE2eTest.cpp BrandSignatureTest.cpp BrandTestSupport.cpp
  BrandMessagesTest.cpp BrandMessagesE2eTest.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/JvmE2eSupport.cpp
  LIBS jl_brand jl_e2e_harness version imagehlp)
target_compile_definitions(brand_tests PRIVATE JL_MESSAGES_EN="${PROJECT_SOURCE_DIR}/messages/en.ini")
add_dependencies(brand_tests jlaunch-brand ${JL_LAUNCHER_NAME} ${JL_CONSOLE_LAUNCHER_NAME} jl_bare)
# The branded runtime dialog appears only while no vendor key names a runtime.
set_tests_properties(brand_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)
if(TARGET fakejvm)
  add_dependencies(brand_tests fakejvm)
endif()

# Shipping from Linux: the Linux build of the tool against the Windows one,
# signing with osslsigncode and the release script (bash, on the build machine).
if(TARGET jlaunch-brand-linux)
  target_compile_definitions(brand_tests PRIVATE JL_MESSAGES_EN="${PROJECT_SOURCE_DIR}/messages/en.ini")
add_dependencies(brand_tests jlaunch-brand-linux)
  add_test(NAME brand_shipping
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shipping_test.sh ${PROJECT_BINARY_DIR} "${JL_PEER_BUILD}" ${PROJECT_SOURCE_DIR})
  set_tests_properties(brand_shipping PROPERTIES TIMEOUT 600)
endif()

# A test executable that carries embedded settings, like a launcher built
# with them would.
jl_add_test(settings_embedded_tests SOURCES
  EmbeddedResourceTest.cpp
  embedded.rc)
target_include_directories(settings_embedded_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})

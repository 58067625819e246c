# The runtime-not-found dialog in this process, with a folder picker that
# answers from a list, and what a picked runtime leads to. The last tests
# search the registry of the test prefix, so they take turns with the others
# that write vendor keys.
jl_add_test(runtime_dialog_tests SOURCES
  RuntimeNotFoundDialogTest.cpp
  AskForRuntimeTest.cpp
  DialogScript.cpp
  SearchFixture.cpp
  VendorRegistry.cpp
  RuntimeTestSupport.cpp
  TIMEOUT 600)
set_tests_properties(runtime_dialog_tests PROPERTIES RESOURCE_LOCK jl_vendor_registry)

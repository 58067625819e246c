jl_add_test(ui_tests SOURCES
  DialogLayoutTest.cpp
  ExceptionDialogTest.cpp)

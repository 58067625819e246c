jl_add_test(messages_tests SOURCES
  MessagesTest.cpp
  long_string.rc)

jl_add_test(settings_tests SOURCES
  SettingsRulesTest.cpp
  EmbeddedStoreTest.cpp
  SettingsFileTest.cpp
  SettingsPathsTest.cpp
  LaunchSettingsTest.cpp
  ModuleSettingsTest.cpp
  JrePathWriterTest.cpp
  Utf8SettingsTest.cpp)

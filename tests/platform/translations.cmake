# Its own program: the translator it installs stays out of the other tests.
kartolino_add_gtest(translations_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/translations_test.cpp
  LIBS kartolino_platform)

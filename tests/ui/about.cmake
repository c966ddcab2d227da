# Tests of the about and help windows.
kartolino_add_gtest(about_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_test.cpp
  LIBS kartolino_ui)

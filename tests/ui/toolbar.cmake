# Tests of this part are registered here.
kartolino_add_gtest(toolbar_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/toolbar_test.cpp
  LIBS kartolino_ui)

# The find bar's step over all cards, without widgets.
kartolino_add_gtest(findrun_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/findrun_test.cpp
  LIBS kartolino_ui)

kartolino_add_gtest(regional_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/regional_tests.cpp
  LIBS kartolino_platform)

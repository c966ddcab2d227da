kartolino_add_gtest(programfolders_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/programfolders_test.cpp
  LIBS kartolino_platform)

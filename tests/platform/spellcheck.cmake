kartolino_add_gtest(spellcheck_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/spellcheck_test.cpp
  LIBS kartolino_platform)

kartolino_add_gtest(recovery_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recovery_test.cpp
  LIBS kartolino_cards)
kartolino_add_gtest(versions_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/versions_test.cpp
  LIBS kartolino_cards)

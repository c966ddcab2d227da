kartolino_add_gtest(find_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/find_test.cpp
  LIBS kartolino_cards)

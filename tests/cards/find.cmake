kartolino_add_gtest(find_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/find_test.cpp
  LIBS kartolino_cards)
# The index is held to the editor's text over the RTF tests' files.
target_compile_definitions(find_tests PRIVATE RTF_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/rtf/data")

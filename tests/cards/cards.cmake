kartolino_add_gtest(cards_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mybib_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardstore_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardnames_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardorder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardfolder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/conflictcopies_test.cpp
  LIBS kartolino_cards)

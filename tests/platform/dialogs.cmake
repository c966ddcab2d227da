kartolino_add_gtest(dialogs_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/dialogs_message_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs_input_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs_driver_test.cpp
  LIBS kartolino_platform)

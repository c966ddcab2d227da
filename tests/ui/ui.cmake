kartolino_add_gtest(ui_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_test.cpp
  LIBS kartolino_ui)

kartolino_add_gtest(ui_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_test.cpp
  LIBS kartolino_ui)

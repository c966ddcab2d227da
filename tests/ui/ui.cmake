kartolino_add_gtest(ui_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mainwindowfixture.h
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardcommands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_test.cpp
  LIBS kartolino_ui)

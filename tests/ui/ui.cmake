kartolino_add_gtest(ui_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mainwindowfixture.h
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardcommands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/export_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/messagestrip_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/findbar_test.cpp
  LIBS kartolino_ui)
kartolino_add_gtest(spell_ui_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mainwindowfixture.h ${CMAKE_CURRENT_LIST_DIR}/spell_test.cpp
  LIBS kartolino_ui)
kartolino_add_gtest(versions_ui_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mainwindowfixture.h ${CMAKE_CURRENT_LIST_DIR}/versions_test.cpp
  LIBS kartolino_ui)

# The print commands of the main window against a private CUPS server
# (tests/platform/cups/run-with-cups.sh), one server per CTest test.
add_executable(print_commands_tests ${CMAKE_CURRENT_LIST_DIR}/print_test.cpp)
target_link_libraries(print_commands_tests PRIVATE kartolino_testmain kartolino_ui)
set(_kartolino_ui_cups ${CMAKE_CURRENT_LIST_DIR}/../platform/cups/run-with-cups.sh)
add_test(NAME print_commands_tests
  COMMAND bash ${_kartolino_ui_cups} $<TARGET_FILE:print_commands_tests> --gtest_filter=-PrintCommandsWithoutPrinters.*)
add_test(NAME print_commands_tests_without_printers
  COMMAND bash ${_kartolino_ui_cups} --no-printers $<TARGET_FILE:print_commands_tests> --gtest_filter=PrintCommandsWithoutPrinters.*)
set_tests_properties(print_commands_tests print_commands_tests_without_printers PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}"
  LABELS cups
  TIMEOUT 300)

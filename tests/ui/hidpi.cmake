# The toolbar and the self-drawn faces on screens of 2 and 1.5 device pixels
# per pixel. The scale factor is the process's, so these run as whole
# programs with it in their environment; the face detail is checked at 2.
add_executable(hidpi_tests ${CMAKE_CURRENT_LIST_DIR}/hidpi_test.cpp ${CMAKE_CURRENT_LIST_DIR}/mainwindowfixture.h)
target_link_libraries(hidpi_tests PRIVATE kartolino_testmain kartolino_ui)
add_test(NAME hidpi_tests_2x COMMAND hidpi_tests)
add_test(NAME hidpi_tests_1.5x COMMAND hidpi_tests --gtest_filter=HighDpiWindow.ToolbarRowShowsEveryButton)
set_tests_properties(hidpi_tests_2x PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2;XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}")
set_tests_properties(hidpi_tests_1.5x PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=1.5;XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}")
set_tests_properties(hidpi_tests_2x hidpi_tests_1.5x PROPERTIES LABELS unit TIMEOUT 300)

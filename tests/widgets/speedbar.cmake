# Tests of this component are registered here.
kartolino_add_gtest(speedbar_button_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_button_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)
kartolino_add_gtest(speedbar_mouse_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_mouse_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)
kartolino_add_gtest(speedbar_bar_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_bar_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)
kartolino_add_gtest(speedbar_dock_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_dock_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)
kartolino_add_gtest(speedbar_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_layout_test.cpp
  LIBS kartolino_widgets)
kartolino_add_gtest(speedbar_edit_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/speedbar_edit_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)
# Dragging the bar with the real mouse on a private X display.
add_executable(speedbar_drag_probe ${CMAKE_CURRENT_LIST_DIR}/speedbar_drag_probe.cpp)
target_link_libraries(speedbar_drag_probe PRIVATE kartolino_widgets)
add_test(NAME speedbar_drag_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/speedbar_drag_e2e.sh $<TARGET_FILE:speedbar_drag_probe>)
set_tests_properties(speedbar_drag_e2e PROPERTIES LABELS e2e TIMEOUT 120 RUN_SERIAL TRUE)

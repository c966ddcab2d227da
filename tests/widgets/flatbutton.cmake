# Tests of the flat button, its colour conversions and drawing helpers.
kartolino_add_gtest(flatbutton_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/flatbutton_colors_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flatbutton_paint_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flatbutton_input_test.cpp
  LIBS kartolino_widgets)

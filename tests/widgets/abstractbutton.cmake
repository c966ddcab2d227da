# Tests of the button base that the flat button and the speed button share,
# and of what assistive tools read of both.
kartolino_add_gtest(abstractbutton_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/abstractbutton_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
    ${CMAKE_CURRENT_LIST_DIR}/button_accessible_test.cpp
  LIBS kartolino_widgets)

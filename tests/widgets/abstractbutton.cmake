# Tests of the button base that the flat button and the speed button share.
kartolino_add_gtest(abstractbutton_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/abstractbutton_test.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar_testing.h
  LIBS kartolino_widgets)

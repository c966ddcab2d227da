# The notification-area layer.
kartolino_add_gtest(notifyicon_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/notifyicon_test.cpp
  LIBS kartolino_platform)

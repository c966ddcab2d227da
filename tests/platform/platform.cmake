kartolino_add_gtest(platform_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/singleinstance_test.cpp
  LIBS kartolino_platform)

kartolino_add_gtest(profile_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/profile_read_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/profile_write_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/profile_inifile_test.cpp
  LIBS kartolino_platform)

# Tests of this component are registered here.
kartolino_add_gtest(rtf_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rtftesthelpers.h
    ${CMAKE_CURRENT_LIST_DIR}/rtfreader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfwriter_test.cpp
  LIBS kartolino_rtf)

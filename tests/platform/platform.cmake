kartolino_add_gtest(platform_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfcard_roundtrip_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/streampieces_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/richedit_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tabcontrol_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/singleinstance_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/richedit_format_test.cpp
  LIBS kartolino_controls)

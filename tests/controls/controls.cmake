# The tab row and the rich text editor, with the stream pieces and text
# attributes they are made of.
kartolino_add_gtest(controls_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/streampieces_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/richedit_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blockwindow_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tabcontrol_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tabcontrol_accessible_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/richedit_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/editorkeys_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfcard_roundtrip_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/documentsnapshot_test.cpp
  LIBS kartolino_controls)
target_include_directories(controls_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/rtf)
target_compile_definitions(controls_tests PRIVATE RTF_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/rtf/data")
kartolino_add_gtest(spellhighlighter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/spellhighlighter_test.cpp
  LIBS kartolino_controls)

# Exporting one card or all cards to PDF, OpenDocument, HTML, Markdown or text.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/exportformats.cpp ${CMAKE_CURRENT_LIST_DIR}/exportformats.h
  ${CMAKE_CURRENT_LIST_DIR}/exportcards.cpp ${CMAKE_CURRENT_LIST_DIR}/exportcards.h
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_export.cpp)

target_sources(kartolino_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/blockwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/blockwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/documentsnapshot.cpp ${CMAKE_CURRENT_LIST_DIR}/documentsnapshot.h
  ${CMAKE_CURRENT_LIST_DIR}/richedit.cpp ${CMAKE_CURRENT_LIST_DIR}/richedit.h
  ${CMAKE_CURRENT_LIST_DIR}/editorkeys.cpp ${CMAKE_CURRENT_LIST_DIR}/editorkeys.h
  ${CMAKE_CURRENT_LIST_DIR}/streampieces.cpp ${CMAKE_CURRENT_LIST_DIR}/streampieces.h
  ${CMAKE_CURRENT_LIST_DIR}/textattributes.cpp ${CMAKE_CURRENT_LIST_DIR}/textattributes.h
)

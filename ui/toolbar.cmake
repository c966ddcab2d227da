# The main window's toolbar and its pictures.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/toolbar.cpp ${CMAKE_CURRENT_LIST_DIR}/toolbar.h
  ${CMAKE_CURRENT_LIST_DIR}/toolbarglyphs.cpp ${CMAKE_CURRENT_LIST_DIR}/toolbarglyphs.h
)

# The about window, the help window and what they share.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/info2.cpp ${CMAKE_CURRENT_LIST_DIR}/info2.h
  ${CMAKE_CURRENT_LIST_DIR}/hilfe2.cpp ${CMAKE_CURRENT_LIST_DIR}/hilfe2.h
  ${CMAKE_CURRENT_LIST_DIR}/secondarywindow.cpp ${CMAKE_CURRENT_LIST_DIR}/secondarywindow.h
)

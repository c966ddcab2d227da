# The program icon, drawn for each of its sizes.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/programicon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/programicon.h)

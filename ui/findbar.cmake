# The find bar across all cards.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/findbar.cpp ${CMAKE_CURRENT_LIST_DIR}/findbar.h)

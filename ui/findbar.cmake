# The find bar across all cards, and the find step it runs.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/findbar.cpp ${CMAKE_CURRENT_LIST_DIR}/findbar.h
  ${CMAKE_CURRENT_LIST_DIR}/findrun.cpp ${CMAKE_CURRENT_LIST_DIR}/findrun.h)

target_sources(kartolino_cards PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mybib.cpp ${CMAKE_CURRENT_LIST_DIR}/mybib.h
  ${CMAKE_CURRENT_LIST_DIR}/cardstore.cpp ${CMAKE_CURRENT_LIST_DIR}/cardstore.h
)

# Searching all cards: their plain text, the matcher and the index.
target_sources(kartolino_cards PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cardmatcher.cpp ${CMAKE_CURRENT_LIST_DIR}/cardmatcher.h
  ${CMAKE_CURRENT_LIST_DIR}/cardindex.cpp ${CMAKE_CURRENT_LIST_DIR}/cardindex.h
)

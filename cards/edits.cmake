target_sources(kartolino_cards PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cardwatcher.cpp ${CMAKE_CURRENT_LIST_DIR}/cardwatcher.h
  ${CMAKE_CURRENT_LIST_DIR}/recovery.cpp ${CMAKE_CURRENT_LIST_DIR}/recovery.h
  ${CMAKE_CURRENT_LIST_DIR}/serialqueue.cpp ${CMAKE_CURRENT_LIST_DIR}/serialqueue.h
  ${CMAKE_CURRENT_LIST_DIR}/versions.cpp ${CMAKE_CURRENT_LIST_DIR}/versions.h
)

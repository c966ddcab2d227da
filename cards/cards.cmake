target_sources(kartolino_cards PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mybib.cpp ${CMAKE_CURRENT_LIST_DIR}/mybib.h
  ${CMAKE_CURRENT_LIST_DIR}/cardstore.cpp ${CMAKE_CURRENT_LIST_DIR}/cardstore.h
  ${CMAKE_CURRENT_LIST_DIR}/cardstore_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cardnames.cpp ${CMAKE_CURRENT_LIST_DIR}/cardnames.h
  ${CMAKE_CURRENT_LIST_DIR}/cardorder.cpp ${CMAKE_CURRENT_LIST_DIR}/cardorder.h
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp ${CMAKE_CURRENT_LIST_DIR}/settings.h
  ${CMAKE_CURRENT_LIST_DIR}/cardfolder.cpp ${CMAKE_CURRENT_LIST_DIR}/cardfolder.h
  ${CMAKE_CURRENT_LIST_DIR}/conflictcopies.cpp ${CMAKE_CURRENT_LIST_DIR}/conflictcopies.h
)

target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/dialogs.h
)

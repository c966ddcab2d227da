target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/shell.cpp ${CMAKE_CURRENT_LIST_DIR}/shell.h
)

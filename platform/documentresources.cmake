target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/documentresources.cpp ${CMAKE_CURRENT_LIST_DIR}/documentresources.h
)

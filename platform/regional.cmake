target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/regional.cpp ${CMAKE_CURRENT_LIST_DIR}/regional.h
)

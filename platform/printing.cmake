target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/printing.cpp ${CMAKE_CURRENT_LIST_DIR}/printing.h
)

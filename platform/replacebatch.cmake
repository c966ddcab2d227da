target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/replacebatch.cpp ${CMAKE_CURRENT_LIST_DIR}/replacebatch.h
)

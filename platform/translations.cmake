target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/translations.cpp ${CMAKE_CURRENT_LIST_DIR}/translations.h
)

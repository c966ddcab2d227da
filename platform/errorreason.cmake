# German reasons for the error codes of the file layer.
target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/errorreason.cpp
  ${CMAKE_CURRENT_LIST_DIR}/errorreason.h)

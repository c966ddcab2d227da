# The flat button with its colour conversions and drawing helpers.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/flatbuttonunit.cpp ${CMAKE_CURRENT_LIST_DIR}/flatbuttonunit.h
  ${CMAKE_CURRENT_LIST_DIR}/hslcolors.cpp ${CMAKE_CURRENT_LIST_DIR}/hslcolors.h
  ${CMAKE_CURRENT_LIST_DIR}/flatdrawing.cpp ${CMAKE_CURRENT_LIST_DIR}/flatdrawing.h
)

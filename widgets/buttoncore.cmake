# What the flat button and the speed button share.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/buttoncore.cpp ${CMAKE_CURRENT_LIST_DIR}/buttoncore.h
)

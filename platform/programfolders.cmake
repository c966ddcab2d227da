# Where cards and settings live: beside the program, or in the XDG folders.
target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/programfolders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/programfolders.h)

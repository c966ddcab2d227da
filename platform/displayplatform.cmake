# XWayland in a Wayland session, unless the user chose a platform.
target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/displayplatform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/displayplatform.h)

# The button base the flat button and the speed button share, what assistive
# tools see of both, and the flat button with its face, its hover watcher,
# colour conversions and drawing helpers.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/abstractbutton.cpp ${CMAKE_CURRENT_LIST_DIR}/abstractbutton.h
  ${CMAKE_CURRENT_LIST_DIR}/buttonpaintstate.h
  ${CMAKE_CURRENT_LIST_DIR}/buttonaccessible.cpp ${CMAKE_CURRENT_LIST_DIR}/buttonaccessible.h
  ${CMAKE_CURRENT_LIST_DIR}/flatbuttonunit.cpp ${CMAKE_CURRENT_LIST_DIR}/flatbuttonunit.h
  ${CMAKE_CURRENT_LIST_DIR}/flatbuttonface.cpp ${CMAKE_CURRENT_LIST_DIR}/flatbuttonface.h
  ${CMAKE_CURRENT_LIST_DIR}/hoverwatcher.cpp ${CMAKE_CURRENT_LIST_DIR}/hoverwatcher.h
  ${CMAKE_CURRENT_LIST_DIR}/hslcolors.cpp ${CMAKE_CURRENT_LIST_DIR}/hslcolors.h
  ${CMAKE_CURRENT_LIST_DIR}/flatdrawing.cpp ${CMAKE_CURRENT_LIST_DIR}/flatdrawing.h
)

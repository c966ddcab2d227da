# The speed bar with its sections, items and self-painting buttons.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/buttonlayout.cpp ${CMAKE_CURRENT_LIST_DIR}/buttonlayout.h
  ${CMAKE_CURRENT_LIST_DIR}/formloading.cpp ${CMAKE_CURRENT_LIST_DIR}/formloading.h
  ${CMAKE_CURRENT_LIST_DIR}/glyphcache.cpp ${CMAKE_CURRENT_LIST_DIR}/glyphcache.h
  ${CMAKE_CURRENT_LIST_DIR}/glyphimages.cpp ${CMAKE_CURRENT_LIST_DIR}/glyphimages.h
  ${CMAKE_CURRENT_LIST_DIR}/glyphspeedbutton.cpp ${CMAKE_CURRENT_LIST_DIR}/glyphspeedbutton.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbuttonface.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbuttonface.h
  ${CMAKE_CURRENT_LIST_DIR}/imagelist.cpp ${CMAKE_CURRENT_LIST_DIR}/imagelist.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbar.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbar.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbaritems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speedbarpaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speedbarbutton.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbarbutton.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbarerror.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbarsection.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbarsection.h
  ${CMAKE_CURRENT_LIST_DIR}/speedglyph.cpp ${CMAKE_CURRENT_LIST_DIR}/speedglyph.h
  ${CMAKE_CURRENT_LIST_DIR}/speeditem.cpp ${CMAKE_CURRENT_LIST_DIR}/speeditem.h
)
# Re-docking by dragging, edit mode under a customisation editor, and layout
# persistence.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/btncontrol.cpp ${CMAKE_CURRENT_LIST_DIR}/btncontrol.h
  ${CMAKE_CURRENT_LIST_DIR}/buttonimage.cpp ${CMAKE_CURRENT_LIST_DIR}/buttonimage.h
  ${CMAKE_CURRENT_LIST_DIR}/dragoutline.cpp ${CMAKE_CURRENT_LIST_DIR}/dragoutline.h
  ${CMAKE_CURRENT_LIST_DIR}/formstorage.cpp ${CMAKE_CURRENT_LIST_DIR}/formstorage.h
  ${CMAKE_CURRENT_LIST_DIR}/speedbardock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speedbaredit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speedbarlayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speedbarcustomize.cpp ${CMAKE_CURRENT_LIST_DIR}/speedbarcustomize.h
)

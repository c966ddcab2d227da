# Earlier versions of a card and the dialog that offers them back.
target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/versionsdialog.cpp ${CMAKE_CURRENT_LIST_DIR}/versionsdialog.h
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_versions.cpp)

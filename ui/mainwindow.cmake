target_sources(kartolino_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/makerlogo.cpp ${CMAKE_CURRENT_LIST_DIR}/makerlogo.h
  ${CMAKE_CURRENT_LIST_DIR}/clickable.h
  ${CMAKE_CURRENT_LIST_DIR}/accessibility.cpp ${CMAKE_CURRENT_LIST_DIR}/accessibility.h
  ${CMAKE_CURRENT_LIST_DIR}/menushortcut.cpp ${CMAKE_CURRENT_LIST_DIR}/menushortcut.h
  ${CMAKE_CURRENT_LIST_DIR}/windowkeys.cpp ${CMAKE_CURRENT_LIST_DIR}/windowkeys.h
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit.cpp ${CMAKE_CURRENT_LIST_DIR}/kartolinounit.h
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_show.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_cards.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_recover.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_help.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_print.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_spell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/messagestrip.cpp ${CMAKE_CURRENT_LIST_DIR}/messagestrip.h
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kartolinounit_views.cpp
)

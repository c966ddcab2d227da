# The tray icon with its icon list, animation thread and pop-up menu.
target_sources(kartolino_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/trayicon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trayicon.h
  ${CMAKE_CURRENT_LIST_DIR}/iconlist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iconlist.h
  ${CMAKE_CURRENT_LIST_DIR}/icofile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icofile.h
  ${CMAKE_CURRENT_LIST_DIR}/timerthread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timerthread.h
  ${CMAKE_CURRENT_LIST_DIR}/popupmenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popupmenu.h)

# The notification-area icon layer (QSystemTrayIcon behind a small interface).
target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/notifyicon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notifyicon.h
  ${CMAKE_CURRENT_LIST_DIR}/namedicon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/namedicon.h)

target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/dialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/dialoglayout.cpp ${CMAKE_CURRENT_LIST_DIR}/dialoglayout.h
  ${CMAKE_CURRENT_LIST_DIR}/modaldialog.cpp ${CMAKE_CURRENT_LIST_DIR}/modaldialog.h
  ${CMAKE_CURRENT_LIST_DIR}/inputbox.cpp
)

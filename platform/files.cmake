target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/exception.h
  ${CMAKE_CURRENT_LIST_DIR}/guarded.cpp ${CMAKE_CURRENT_LIST_DIR}/guarded.h
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp ${CMAKE_CURRENT_LIST_DIR}/files.h
  ${CMAKE_CURRENT_LIST_DIR}/syscolors.cpp ${CMAKE_CURRENT_LIST_DIR}/syscolors.h
)

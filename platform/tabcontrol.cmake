target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.cpp ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.h
)

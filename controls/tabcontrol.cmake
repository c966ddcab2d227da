target_sources(kartolino_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.cpp ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.h
)

target_sources(kartolino_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.cpp ${CMAKE_CURRENT_LIST_DIR}/tabcontrol.h
  ${CMAKE_CURRENT_LIST_DIR}/tabcontrollayout.cpp ${CMAKE_CURRENT_LIST_DIR}/tabcontrolpaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabmetrics.h
  ${CMAKE_CURRENT_LIST_DIR}/tabcontrolaccessible.cpp ${CMAKE_CURRENT_LIST_DIR}/tabcontrolaccessible.h
)

target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/singleinstance.cpp ${CMAKE_CURRENT_LIST_DIR}/singleinstance.h
  ${CMAKE_CURRENT_LIST_DIR}/terminationsignals.cpp ${CMAKE_CURRENT_LIST_DIR}/terminationsignals.h
  ${CMAKE_CURRENT_LIST_DIR}/sessionend.cpp ${CMAKE_CURRENT_LIST_DIR}/sessionend.h
)

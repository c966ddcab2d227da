target_sources(kartolino_rtf PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfreader.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.h
)

target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile.cpp ${CMAKE_CURRENT_LIST_DIR}/profile.h
  ${CMAKE_CURRENT_LIST_DIR}/profiletext.cpp ${CMAKE_CURRENT_LIST_DIR}/profiletext.h
)

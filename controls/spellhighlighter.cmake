target_sources(kartolino_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/spellhighlighter.cpp ${CMAKE_CURRENT_LIST_DIR}/spellhighlighter.h
)

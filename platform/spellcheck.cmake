# Hunspell, found without pkg-config so that building needs only what
# tools/deps.sh run installs (libhunspell-dev).
find_path(HUNSPELL_INCLUDE_DIR hunspell/hunspell.hxx REQUIRED)
find_library(HUNSPELL_LIBRARY NAMES hunspell-1.7 hunspell REQUIRED)
target_include_directories(kartolino_platform SYSTEM PRIVATE ${HUNSPELL_INCLUDE_DIR})
target_link_libraries(kartolino_platform PRIVATE ${HUNSPELL_LIBRARY})
target_sources(kartolino_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/hunspelldictionary.cpp ${CMAKE_CURRENT_LIST_DIR}/hunspelldictionary.h
  ${CMAKE_CURRENT_LIST_DIR}/spellwords.cpp ${CMAKE_CURRENT_LIST_DIR}/spellwords.h
  ${CMAKE_CURRENT_LIST_DIR}/personaldictionary.cpp ${CMAKE_CURRENT_LIST_DIR}/personaldictionary.h
  ${CMAKE_CURRENT_LIST_DIR}/spellchecker.cpp ${CMAKE_CURRENT_LIST_DIR}/spellchecker.h
)

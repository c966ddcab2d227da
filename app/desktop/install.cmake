# What `cmake --install` puts into a prefix and `cpack -G DEB` into a package:
# the program, its desktop entry, its icon in the hicolor theme (drawn by the
# program's own icon code at build time) and its AppStream metadata.
include(GNUInstallDirs)

set(KARTOLINO_APP_ID example.fennwick.Kartolino)
set(_desktop ${CMAKE_CURRENT_LIST_DIR})

add_executable(kartolino_makeicons ${_desktop}/makeicons.cpp
  ${PROJECT_SOURCE_DIR}/ui/programicon.cpp ${PROJECT_SOURCE_DIR}/ui/programicon.h)
target_include_directories(kartolino_makeicons PRIVATE ${PROJECT_SOURCE_DIR}/ui)
target_link_libraries(kartolino_makeicons PRIVATE Qt6::Gui)

set(_icons ${CMAKE_BINARY_DIR}/icons/hicolor)
set(_icon_sizes 16 24 32 48 64 72 96 128 256)
set(_icon_files)
foreach(size IN LISTS _icon_sizes)
  list(APPEND _icon_files ${_icons}/${size}x${size}/apps/${KARTOLINO_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${_icon_files}
  COMMAND kartolino_makeicons ${_icons} ${KARTOLINO_APP_ID}
  DEPENDS kartolino_makeicons
  COMMENT "Drawing the program icon for the hicolor theme")
add_custom_target(kartolino_icons ALL DEPENDS ${_icon_files})
add_dependencies(Kartolino kartolino_icons)

install(TARGETS Kartolino RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_desktop}/${KARTOLINO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_desktop}/${KARTOLINO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${_icons} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# cpack packages what has been built; it does not first build every target
# (the tests and benchmarks among them).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME kartolino)
set(CPACK_PACKAGE_VENDOR "Fennwick Software")
set(CPACK_PACKAGE_CONTACT "kartolino@fennwick.example")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Named note cards in rich text, kept in the notification area")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Depends comes from the shared libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Hunspell library comes in through the shared libraries; the spell check
# wants a German dictionary as well, and the English one beside it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-de-de | hunspell-dictionary-de, hunspell-en-us | hunspell-dictionary-en")
include(CPack)

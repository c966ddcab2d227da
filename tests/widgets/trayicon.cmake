# The tray icon component: events and showing rules, animation, icon list and
# .ico format, all against a fake notification area.
kartolino_add_gtest(trayicon_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/trayicon_fake.h
    ${CMAKE_CURRENT_LIST_DIR}/trayicon_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/trayicon_animation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/trayicon_iconlist_test.cpp
  LIBS kartolino_widgets)

# The program icon the tray shows.
kartolino_add_gtest(programicon_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/trayicon_programicon_test.cpp
  LIBS kartolino_ui)

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

# End to end: the real notification-area layer under Xvfb with trayer as the
# tray; the script checks that trayer embeds the icon and that clicks on it
# arrive as component events.
add_executable(trayicon_e2e_probe ${CMAKE_CURRENT_LIST_DIR}/trayicon_e2e_probe.cpp)
target_link_libraries(trayicon_e2e_probe PRIVATE kartolino_widgets kartolino_ui)
add_test(NAME trayicon_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/trayicon_e2e.sh $<TARGET_FILE:trayicon_e2e_probe>)
set_tests_properties(trayicon_e2e PROPERTIES LABELS e2e TIMEOUT 120 RUN_SERIAL TRUE)

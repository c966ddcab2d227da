# End-to-end scripts: the real program under a virtual X server.
foreach(script cards_e2e names_e2e single_instance_e2e tray_e2e view_e2e edits_e2e find_e2e bigcard_e2e spell_e2e keys_e2e)
  add_test(NAME e2e.${script}
    COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:Kartolino>)
  set_tests_properties(e2e.${script} PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)
endforeach()

# The shared card folder: eight rounds of timed outside writes, slow on a loaded machine;
# the tab row read over the accessibility bus.
add_test(NAME e2e.folder_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash ${CMAKE_CURRENT_LIST_DIR}/folder_e2e.sh
          $<TARGET_FILE:Kartolino>)
set_tests_properties(e2e.folder_e2e PROPERTIES LABELS e2e TIMEOUT 900 RUN_SERIAL TRUE)

# The editor's keys under the key schemes of X11, KDE and GNOME: no key
# changes a card unless it says so (the sweep of the controls' unit tests).
foreach(desktop X11 KDE GNOME)
  add_test(NAME e2e.editor_keys_${desktop}
    COMMAND xvfb-run -a -s "-screen 0 1280x1024x24"
            env QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP=${desktop} $<TARGET_FILE:controls_tests> --gtest_filter=KeyFixture.*)
  set_tests_properties(e2e.editor_keys_${desktop} PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE
    ENVIRONMENT "XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}")
endforeach()

# Export: the converters it checks against (LibreOffice above all) need time.
add_test(NAME e2e.export_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" bash ${CMAKE_CURRENT_LIST_DIR}/export_e2e.sh $<TARGET_FILE:Kartolino>)
set_tests_properties(e2e.export_e2e PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)

# The installed program: what the install and the package hold, and a run from
# a read-only prefix. Both install from the build folder, so they wait for it.
add_test(NAME e2e.install_e2e COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_e2e.sh ${CMAKE_BINARY_DIR})
add_test(NAME e2e.installed_run_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" bash ${CMAKE_CURRENT_LIST_DIR}/installed_run_e2e.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e.install_e2e e2e.installed_run_e2e PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)

# The tray through a StatusNotifierItem host (a watcher probe on a private bus).
find_package(Qt6 REQUIRED COMPONENTS DBus)
add_executable(sniwatcher_probe ${CMAKE_CURRENT_LIST_DIR}/sniwatcher_probe.cpp)
target_link_libraries(sniwatcher_probe PRIVATE Qt6::DBus)
add_test(NAME e2e.tray_sni_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash ${CMAKE_CURRENT_LIST_DIR}/tray_sni_e2e.sh
          $<TARGET_FILE:Kartolino> $<TARGET_FILE:sniwatcher_probe>)
set_tests_properties(e2e.tray_sni_e2e PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)

# Earlier versions of a card, kept at the save points and restored.
add_test(NAME e2e.versions_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" bash ${CMAKE_CURRENT_LIST_DIR}/versions_e2e.sh $<TARGET_FILE:Kartolino>)
set_tests_properties(e2e.versions_e2e PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)

# A screen reader's view: the accessibility bridge on a private session bus.
add_test(NAME e2e.a11y_e2e
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash ${CMAKE_CURRENT_LIST_DIR}/a11y_e2e.sh
          $<TARGET_FILE:Kartolino>)
set_tests_properties(e2e.a11y_e2e PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)

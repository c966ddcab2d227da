# End-to-end scripts: the real program under a virtual X server.
foreach(script cards_e2e names_e2e single_instance_e2e tray_e2e view_e2e edits_e2e find_e2e)
  add_test(NAME e2e.${script}
    COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:Kartolino>)
  set_tests_properties(e2e.${script} PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)
endforeach()

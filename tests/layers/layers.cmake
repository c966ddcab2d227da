# The layer rule of KARTOLINO_LAYERS, checked on what the build uses: each
# target's include path as the compiler gets it (its own and what its links
# bring), its links, and every #include of its folder's sources.
set(layer_facts "")
foreach(entry IN LISTS KARTOLINO_LAYERS)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 folder)
  list(GET entry 1 target)
  list(GET entry 2 step)
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(interface_links ${target} INTERFACE_LINK_LIBRARIES)
  # Written as read; "$<" would be evaluated by file(GENERATE) below.
  string(REPLACE "$<" "@<" links "${links};${interface_links}")
  string(APPEND layer_facts
    "list(APPEND layers ${folder})\n"
    "set(${folder}_target ${target})\n"
    "set(${folder}_step ${step})\n"
    "set(${folder}_includes \"$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>\")\n"
    "set(${folder}_public \"$<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>\")\n"
    "set(${folder}_links [==[${links}]==])\n")
endforeach()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/layers/facts.cmake CONTENT "${layer_facts}")

add_test(NAME layers
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DFACTS=${CMAKE_BINARY_DIR}/layers/facts.cmake
          -P ${CMAKE_SOURCE_DIR}/tools/checklayers.cmake)
# The check itself, on a small tree that breaks the rule in each way it knows.
add_test(NAME layers_finds_violations
  COMMAND ${CMAKE_COMMAND} -DCHECK=${CMAKE_SOURCE_DIR}/tools/checklayers.cmake
          -DFIXTURE=${CMAKE_CURRENT_LIST_DIR}/violations -P ${CMAKE_CURRENT_LIST_DIR}/violations.cmake)
set_tests_properties(layers layers_finds_violations PROPERTIES LABELS unit)

# Runs the layer check on the tree in violations/ and expects exactly the
# violations below, and a failure: a check that passed it would pass anything.
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -DFACTS=${FIXTURE}/facts.cmake -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCHALL "violation: [^\n]*" found "${out}${err}")
set(expected
  "violation: base: include path . reaches left, right, top"
  "violation: base/base.cpp includes top/top.h of layer top"
  "violation: base/base.cpp includes left/left.h of layer left"
  "violation: left: kartolino_left links kartolino_right of layer right"
  "violation: left/left.cpp includes right/right.h of layer right"
  "violation: right: include path top reaches top"
  "violation: top: include path right reaches inside right"
  "violation: top/top.cpp includes right/right.h, private to layer right")
if(result EQUAL 0 OR NOT found STREQUAL expected)
  list(JOIN found "\n  " found)
  list(JOIN expected "\n  " expected)
  message(FATAL_ERROR "exit ${result}; reported:\n  ${found}\nexpected:\n  ${expected}\n${out}${err}")
endif()

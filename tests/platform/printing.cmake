# The printing tests drive a real CUPS server of their own: each CTest test
# starts a private cupsd with the test queues, runs the test program against
# it and stops it again (tests/platform/cups/run-with-cups.sh).
add_executable(printing_tests ${CMAKE_CURRENT_LIST_DIR}/printing_tests.cpp)
target_link_libraries(printing_tests PRIVATE kartolino_testmain kartolino_platform)

set(_kartolino_cups ${CMAKE_CURRENT_LIST_DIR}/cups/run-with-cups.sh)
add_test(NAME printing_tests
  COMMAND bash ${_kartolino_cups} $<TARGET_FILE:printing_tests> --gtest_filter=-PrintingWithoutPrinters.*)
add_test(NAME printing_tests_without_printers
  COMMAND bash ${_kartolino_cups} --no-printers $<TARGET_FILE:printing_tests> --gtest_filter=PrintingWithoutPrinters.*)
set_tests_properties(printing_tests printing_tests_without_printers PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}"
  LABELS cups
  TIMEOUT 300)

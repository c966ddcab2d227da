# Tests of this component are registered here.
kartolino_add_gtest(rtf_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rtftestcard.h
    ${CMAKE_CURRENT_LIST_DIR}/rtftesthelpers.h
    ${CMAKE_CURRENT_LIST_DIR}/rtfreader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfwriter_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfrobustness_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtfrealfiles_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rtffidelity_test.cpp
  LIBS kartolino_rtf)
target_compile_definitions(rtf_tests PRIVATE RTF_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data")

# The reader's libFuzzer target (clang only); tests/rtf/fuzz.sh builds and runs it.
if(KARTOLINO_FUZZ)
  set(_rtf_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  target_compile_options(kartolino_rtf PRIVATE ${_rtf_fuzz_flags})
  add_executable(rtf_fuzz ${CMAKE_CURRENT_LIST_DIR}/rtf_fuzz.cpp)
  target_compile_options(rtf_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(rtf_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(rtf_fuzz PRIVATE kartolino_rtf Qt6::Gui)
endif()

# Real programs as judges: LibreOffice and pandoc (see tools/extra-test-packages).
# One CTest test runs the whole program, so that its conversions (one soffice
# start per target format for all files) run once, not once per test case.
add_executable(rtf_peer_tests
  ${CMAKE_CURRENT_LIST_DIR}/rtftestcard.h
  ${CMAKE_CURRENT_LIST_DIR}/rtftesthelpers.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfpeers_test.cpp)
target_link_libraries(rtf_peer_tests PRIVATE kartolino_testmain kartolino_rtf)
target_compile_definitions(rtf_peer_tests PRIVATE RTF_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data")
add_test(NAME rtf_peer_tests COMMAND rtf_peer_tests)
set_tests_properties(rtf_peer_tests PROPERTIES
  LABELS peers
  TIMEOUT 600
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${KARTOLINO_TEST_RUNTIME}")


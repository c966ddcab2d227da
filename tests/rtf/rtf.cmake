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
# The code page tables are tested on their own, inside the library.
target_include_directories(rtf_tests PRIVATE ${CMAKE_SOURCE_DIR}/rtf)

# The fuzzer builds the RTF library with clang, so every test run checks
# that clang still compiles it (syntax and warnings, no code made).
find_program(KARTOLINO_CLANGXX NAMES clang++ clang++-14)
if(KARTOLINO_CLANGXX)
  get_target_property(_rtf_sources kartolino_rtf SOURCES)
  list(FILTER _rtf_sources INCLUDE REGEX "\\.cpp$")
  add_test(NAME rtf_clang
    COMMAND ${KARTOLINO_CLANGXX} -std=c++20 -fsyntax-only -fPIC -Wall -Wextra -Werror
            "-D$<JOIN:$<TARGET_PROPERTY:kartolino_rtf,COMPILE_DEFINITIONS>,;-D>"
            "-I$<JOIN:$<TARGET_PROPERTY:kartolino_rtf,INCLUDE_DIRECTORIES>,;-I>"
            ${_rtf_sources}
    COMMAND_EXPAND_LISTS)
else()
  add_test(NAME rtf_clang COMMAND ${CMAKE_COMMAND} -E echo "clang++ not found: bash tools/deps.sh test installs it")
  set_tests_properties(rtf_clang PROPERTIES WILL_FAIL TRUE)
endif()
set_tests_properties(rtf_clang PROPERTIES LABELS unit)

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


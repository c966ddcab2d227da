# The spell check's cost while typing and loading; run by hand: build/bench/spell_bench
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(spell_bench ${CMAKE_CURRENT_LIST_DIR}/spell_bench.cpp)
target_link_libraries(spell_bench PRIVATE kartolino_controls Qt6::Test)

# The find bar over 10,000 cards; run by hand: build/bench/find_bench
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(find_bench ${CMAKE_CURRENT_LIST_DIR}/find_bench.cpp)
target_link_libraries(find_bench PRIVATE kartolino_ui Qt6::Test)

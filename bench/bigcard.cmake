# Typing in big cards, the card editor beside a plain QTextEdit; run by hand:
# build/bench/bigcard_bench [--quick]
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(bigcard_bench ${CMAKE_CURRENT_LIST_DIR}/bigcard_bench.cpp)
target_link_libraries(bigcard_bench PRIVATE kartolino_controls Qt6::Test)

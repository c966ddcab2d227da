# What a crash-recovery write holds the GUI thread for in big cards; run by
# hand: build/bench/recovery_bench [kilobytes...]
add_executable(recovery_bench ${CMAKE_CURRENT_LIST_DIR}/recovery_bench.cpp)
target_link_libraries(recovery_bench PRIVATE kartolino_cards)

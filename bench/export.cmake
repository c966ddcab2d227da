# Export of 1,000 cards to HTML and of a 10 MB card to PDF against printing
# it; run by hand: build/bench/export_bench
add_executable(export_bench ${CMAKE_CURRENT_LIST_DIR}/export_bench.cpp)
target_link_libraries(export_bench PRIVATE kartolino_ui)

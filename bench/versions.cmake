add_executable(versions_bench ${CMAKE_CURRENT_LIST_DIR}/versions_bench.cpp)
target_link_libraries(versions_bench PRIVATE kartolino_cards)

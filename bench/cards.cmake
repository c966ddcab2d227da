add_executable(cards_bench ${CMAKE_CURRENT_LIST_DIR}/cards_bench.cpp)
target_link_libraries(cards_bench PRIVATE kartolino_cards)

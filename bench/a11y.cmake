add_executable(a11y_bench ${CMAKE_CURRENT_LIST_DIR}/a11y_bench.cpp)
target_link_libraries(a11y_bench PRIVATE kartolino_controls)

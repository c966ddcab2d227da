# RTF load and save speed; run by hand: build/bench/rtf_bench
if(benchmark_FOUND)
  add_executable(rtf_bench ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp)
  target_link_libraries(rtf_bench PRIVATE kartolino_rtf benchmark::benchmark Qt6::Gui)
endif()

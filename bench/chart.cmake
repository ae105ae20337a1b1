add_executable(chart_bench ${CMAKE_CURRENT_LIST_DIR}/chart_bench.cpp)
target_link_libraries(chart_bench PRIVATE korvane_chart korvane_chart_widget benchmark::benchmark)

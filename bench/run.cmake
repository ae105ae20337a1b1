# CPU time of one whole valuation run with its real pauses, against the pauses alone.
add_executable(run_bench ${CMAKE_CURRENT_LIST_DIR}/run_bench.cpp)
target_link_libraries(run_bench PRIVATE korvane_front korvane_front_window korvane_net_http korvane_util
  korvane_run_fakes korvane_test_support benchmark::benchmark)

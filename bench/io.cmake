# The run's file and network hops against a buffered copy and curl.
if(TARGET korvane_test_support)
  add_executable(io_bench ${CMAKE_CURRENT_LIST_DIR}/io_bench.cpp)
  target_link_libraries(io_bench
    PRIVATE korvane_net_http korvane_util korvane_base korvane_test_support benchmark::benchmark)
endif()

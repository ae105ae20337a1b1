add_executable(extraction_bench ${CMAKE_CURRENT_LIST_DIR}/extraction_bench.cpp)
target_link_libraries(extraction_bench PRIVATE korvane_front korvane_util benchmark::benchmark)

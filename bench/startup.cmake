# Start-up time of valdrin's main window against an empty Qt window; the two probes are built for
# this benchmark only.
add_executable(startup_probe_empty ${CMAKE_CURRENT_LIST_DIR}/startup_probe_empty.cpp)
target_link_libraries(startup_probe_empty PRIVATE Qt6::Widgets)

add_executable(startup_probe_valdrin ${CMAKE_CURRENT_LIST_DIR}/startup_probe_valdrin.cpp)
target_link_libraries(startup_probe_valdrin PRIVATE korvane_app korvane_front_window)

add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE benchmark::benchmark)
target_compile_definitions(startup_bench PRIVATE
  KORVANE_PROBE_EMPTY="$<TARGET_FILE:startup_probe_empty>"
  KORVANE_PROBE_VALDRIN="$<TARGET_FILE:startup_probe_valdrin>")
add_dependencies(startup_bench startup_probe_empty startup_probe_valdrin)

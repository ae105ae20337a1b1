# Fakes for the valuation run's ports.
target_sources(korvane_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/run_fakes.cpp)

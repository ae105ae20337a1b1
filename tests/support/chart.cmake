# The chart's recording surface.
target_sources(korvane_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/recording_surface.cpp)

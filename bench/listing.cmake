# korvane-listing's import against the SQLite shell's, and its pages against a constant page.
if(TARGET korvane-listing)
  add_executable(listing_bench ${CMAKE_CURRENT_LIST_DIR}/listing_bench.cpp)
  target_link_libraries(listing_bench PRIVATE korvane_listing)
  target_compile_definitions(listing_bench PRIVATE
    KORVANE_LISTING_PROGRAM="$<TARGET_FILE:korvane-listing>")
  add_dependencies(listing_bench korvane-listing)
endif()

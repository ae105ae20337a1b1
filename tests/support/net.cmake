# The loopback HTTP server and the recording message boxes.
find_package(Threads REQUIRED)
target_sources(korvane_test_support PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/loopback_server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_message_boxes.cpp)
target_link_libraries(korvane_test_support PUBLIC PkgConfig::HTTPLIB Threads::Threads)

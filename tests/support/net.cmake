# The loopback HTTP server and the recording message boxes.
find_package(Threads REQUIRED)
target_sources(korvane_test_support PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/loopback_server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_message_boxes.cpp)
target_link_libraries(korvane_test_support PUBLIC PkgConfig::HTTPLIB Threads::Threads)
# A self-signed certificate for 127.0.0.1, so tests can check that it is refused.
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/loopback_server.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS KORVANE_TEST_TLS_DIR="${CMAKE_CURRENT_LIST_DIR}/tls")

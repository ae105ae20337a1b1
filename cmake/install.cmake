# Installation: everything under one prefix (default /opt/korvane), because the program keeps its
# work files in property/ beside its own executable:
#   bin/korvane (the launcher)  bin/valdrin  bin/property/  bin/korvane-listing
#   lib/libQuorbel.so and the component runtime it runs on, bin/quorbel-call
#   share/korvane/sample-data/
#   share/applications/korvane.desktop  share/icons/hicolor/scalable/apps/korvane.svg
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/korvane CACHE PATH "Install prefix" FORCE)
endif()

set(KORVANE_DESKTOP_TEMPLATE ${PROJECT_SOURCE_DIR}/assets/korvane.desktop.in)
set(KORVANE_LAUNCHER_TEMPLATE ${PROJECT_SOURCE_DIR}/assets/korvane.in)

# The launcher starts a listing service only when the program asks one on this machine.
set(KORVANE_LISTING_PORT "")
if(KORVANE_LISTING_HOST MATCHES "^http://(127\\.0\\.0\\.1|localhost):([0-9]+)/?$")
  set(KORVANE_LISTING_PORT ${CMAKE_MATCH_2})
endif()

if(TARGET valdrin)
  install(TARGETS valdrin RUNTIME DESTINATION bin)
  # Created empty; the user who runs the program must be able to write into it.
  install(DIRECTORY DESTINATION bin/property)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/korvane.svg
          DESTINATION share/icons/hicolor/scalable/apps)
  # The desktop file and the launcher name the programs and icon by absolute path, so they are
  # written at install time for the prefix actually used (cmake --install --prefix may differ from
  # the configured one). The desktop entry opens the launcher.
  install(CODE "
    set(KORVANE_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(KORVANE_VALDRIN \"\${CMAKE_INSTALL_PREFIX}/bin/valdrin\")
    set(KORVANE_LISTING \"\${CMAKE_INSTALL_PREFIX}/bin/korvane-listing\")
    set(KORVANE_LISTING_PORT \"${KORVANE_LISTING_PORT}\")
    configure_file(\"${KORVANE_DESKTOP_TEMPLATE}\"
                   \"${CMAKE_BINARY_DIR}/install-desktop/korvane.desktop\" @ONLY)
    configure_file(\"${KORVANE_LAUNCHER_TEMPLATE}\"
                   \"${CMAKE_BINARY_DIR}/install-desktop/korvane\" @ONLY)
    file(INSTALL \"${CMAKE_BINARY_DIR}/install-desktop/korvane.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
    file(INSTALL \"${CMAKE_BINARY_DIR}/install-desktop/korvane\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/bin\" USE_SOURCE_PERMISSIONS)
  ")
endif()

# The component library and the terminal client that registers and calls it. Both run on the
# shared component runtime, which they find beside themselves wherever the prefix is.
if(TARGET Quorbel AND TARGET quorbel-call)
  set_target_properties(Quorbel korvane_component PROPERTIES INSTALL_RPATH "$ORIGIN")
  set_target_properties(quorbel-call PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")
  install(TARGETS Quorbel korvane_component LIBRARY DESTINATION lib)
  install(TARGETS quorbel-call RUNTIME DESTINATION bin)
endif()

# The desktop file for the configured prefix, checked by desktop-file-validate among the tests.
if(KORVANE_BUILD_TESTS)
  set(KORVANE_PREFIX ${CMAKE_INSTALL_PREFIX})
  configure_file(${KORVANE_DESKTOP_TEMPLATE} ${CMAKE_BINARY_DIR}/korvane.desktop @ONLY)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(NOT DESKTOP_FILE_VALIDATE)
    set(DESKTOP_FILE_VALIDATE desktop-file-validate)  # the test then fails, naming what is missing
  endif()
  add_test(NAME desktop_file_validate
           COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_BINARY_DIR}/korvane.desktop)
  # desktop-file-validate exits 0 on warnings too; treat any message as a failure.
  set_tests_properties(desktop_file_validate PROPERTIES FAIL_REGULAR_EXPRESSION ".+")
endif()

# The launcher for the build tree, build/korvane, which scripts/run opens.
if(TARGET valdrin AND TARGET korvane-listing)
  set(KORVANE_VALDRIN "$<TARGET_FILE:valdrin>")
  set(KORVANE_LISTING "$<TARGET_FILE:korvane-listing>")
  configure_file(${KORVANE_LAUNCHER_TEMPLATE} ${CMAKE_BINARY_DIR}/korvane.in @ONLY)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/korvane INPUT ${CMAKE_BINARY_DIR}/korvane.in
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
endif()

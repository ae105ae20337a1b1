# Installation: everything under one prefix (default /opt/korvane), because the program keeps its
# work files in property/ beside its own executable:
#   bin/valdrin  bin/property/  bin/korvane-sample-site
#   share/korvane/sample-data/
#   share/applications/korvane.desktop  share/icons/hicolor/scalable/apps/korvane.svg
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/korvane CACHE PATH "Install prefix" FORCE)
endif()

set(KORVANE_DESKTOP_TEMPLATE ${PROJECT_SOURCE_DIR}/assets/korvane.desktop.in)

if(TARGET valdrin)
  install(TARGETS valdrin RUNTIME DESTINATION bin)
  # Created empty; the user who runs the program must be able to write into it.
  install(DIRECTORY DESTINATION bin/property)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/korvane.svg
          DESTINATION share/icons/hicolor/scalable/apps)
  # The desktop file names the program and icon by absolute path, so it is written at install time
  # for the prefix actually used (cmake --install --prefix may differ from the configured one).
  install(CODE "
    set(KORVANE_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${KORVANE_DESKTOP_TEMPLATE}\"
                   \"${CMAKE_BINARY_DIR}/install-desktop/korvane.desktop\" @ONLY)
    file(INSTALL \"${CMAKE_BINARY_DIR}/install-desktop/korvane.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
  ")
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

# Where the build put the programs, for scripts/run.
if(TARGET valdrin AND TARGET korvane-sample-site)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/program-paths.sh
       CONTENT "valdrin='$<TARGET_FILE:valdrin>'\nsample_site='$<TARGET_FILE:korvane-sample-site>'\n")
endif()

# ENABLE_SANITIZERS: every target (libraries, programs, tests, benchmarks) is built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Any report ends the process with an error, so a
# finding fails the test that caused it instead of scrolling past in the log.
option(ENABLE_SANITIZERS "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(ENABLE_SANITIZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang|GNU")
    message(FATAL_ERROR "ENABLE_SANITIZERS needs GCC or Clang, not ${CMAKE_CXX_COMPILER_ID}")
  endif()
  set(korvane_sanitize_flags
    -fsanitize=address,undefined
    -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  add_compile_options(${korvane_sanitize_flags})
  add_link_options(-fsanitize=address,undefined)
  # Clang links its runtime into programs only, so a shared library linked with --no-undefined
  # (libQuorbel.so) needs the runtime as a shared library, found by the programs' run path.
  # libFuzzer programs need the runtime linked in, so a fuzzing build keeps the static one.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND NOT ENABLE_FUZZING)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-runtime-dir
                    OUTPUT_VARIABLE korvane_sanitizer_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
    add_link_options(-shared-libsan -Wl,-rpath,${korvane_sanitizer_runtime})
  endif()
endif()

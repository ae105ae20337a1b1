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
endif()

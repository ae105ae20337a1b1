# ENABLE_FUZZING: the harnesses in fuzz/ become libFuzzer programs. Only clang has libFuzzer.
# The logic library is instrumented for coverage-guided fuzzing (-fsanitize=fuzzer-no-link); only
# the harnesses link the fuzzer's own main (-fsanitize=fuzzer), see korvane_fuzz_instrument().
option(ENABLE_FUZZING "Build the fuzz harnesses as libFuzzer programs (clang only)" OFF)

if(ENABLE_FUZZING AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR
    "ENABLE_FUZZING needs clang (libFuzzer); the compiler is ${CMAKE_CXX_COMPILER_ID}. "
    "Configure with CC=clang-14 CXX=clang++-14 in a fresh build folder.")
endif()

# Instruments a library that the harnesses call into, without linking libFuzzer's main.
function(korvane_fuzz_instrument target)
  if(ENABLE_FUZZING)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

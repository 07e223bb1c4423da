# libFuzzer targets, built with clang when QUORVEL_FUZZ is on. The libraries are instrumented
# for coverage too (fuzzer-no-link), so the fuzzer sees inside the code under test. Every target
# joins fuzz_targets; scripts/fuzz builds that and runs each target on tests/fuzz-corpus/<name>/.
if(QUORVEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUORVEL_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_custom_target(fuzz_targets)
endif()

function(quorvel_add_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quorvel_target(${name})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(fuzz_targets ${name})
endfunction()

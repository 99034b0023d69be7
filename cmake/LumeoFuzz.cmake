# lumeo_add_fuzzer(<name> SOURCES ... LIBS ...): a libFuzzer target (clang, LUMEO_FUZZ=ON).
# Its seed corpus is tests/fuzz/corpus/<name>/.
function(lumeo_add_fuzzer name)
  if(NOT LUMEO_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${F_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY LUMEO_FUZZERS ${name})
endfunction()

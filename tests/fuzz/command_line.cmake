lumeo_add_fuzzer(command_line SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_command_line.cpp LIBS lumeo_files_core)

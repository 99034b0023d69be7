lumeo_add_fuzzer(supported_types SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_supported_types.cpp LIBS lumeo_printer_core)

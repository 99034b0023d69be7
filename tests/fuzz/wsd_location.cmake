lumeo_add_fuzzer(wsd_location SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_wsd_location.cpp LIBS lumeo_printer_core)

lumeo_add_fuzzer(ipp_codec SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_ipp_codec.cpp LIBS lumeo_ipp_core lumeo_printer_ipp_core)

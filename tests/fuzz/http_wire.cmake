lumeo_add_fuzzer(http_wire SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_http_wire.cpp LIBS lumeo_ipp_core)

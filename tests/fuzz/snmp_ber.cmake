lumeo_add_fuzzer(snmp_ber SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_snmp_ber.cpp LIBS lumeo_printer_core lumeo_snmp_core)

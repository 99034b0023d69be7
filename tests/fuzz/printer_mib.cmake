lumeo_add_fuzzer(printer_mib SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_printer_mib.cpp
  LIBS lumeo_printer_core lumeo_snmp_core)

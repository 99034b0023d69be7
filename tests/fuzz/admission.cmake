lumeo_add_fuzzer(admission SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_admission.cpp LIBS lumeo_job_core)

# Koretta's registrar script reader: parsed or refused, never a crash or unbounded recursion.
lumeo_add_fuzzer(registrar_script SOURCES fuzz_registrar_script.cpp LIBS lumeo_context_menu_core)

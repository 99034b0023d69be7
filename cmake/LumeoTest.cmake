# GoogleTest comes from Debian's source package and is built with each build,
# so the native and the cross build use the same framework.
set(LUMEO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${LUMEO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# lumeo_gtest_report(<test>): a Windows test program writes its GoogleTest report to
# gtest-results/<test>.xml, so tools/test-all.sh counts its cases (skips included)
# although CTest sees the whole program as one test. Z: is the Unix root under Wine.
set(LUMEO_GTEST_RESULTS ${CMAKE_BINARY_DIR}/gtest-results)
function(lumeo_gtest_report test)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "GTEST_OUTPUT=xml:Z:${LUMEO_GTEST_RESULTS}/${test}.xml")
endfunction()

# lumeo_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [WINDOWS_ONLY] [NATIVE_ONLY]
#                [TIMEOUT s] [ENVIRONMENT k=v ...] [RESOURCE_LOCK "name[;name...]"])
# Tests that add or remove Wine printers take RESOURCE_LOCK wine_printers; tests that
# move the mouse or read what lies under it take x_focus.
# Native tests are registered case by case; Windows tests run as one executable
# under Wine (one Wine start per executable instead of per case).
function(lumeo_add_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND WIN32)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  target_compile_definitions(${name} PRIVATE LUMEO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "wine;${T_LABELS}"
      ENVIRONMENT "${T_ENVIRONMENT}")
    if(T_RESOURCE_LOCK)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
    endif()
    lumeo_gtest_report(${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}" ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
endfunction()

# GoogleTest: the machine's package natively; for Windows and WebAssembly
# built from the Debian sources with the cross compiler.
if(WIN32 OR EMSCRIPTEN)
  # WebAssembly test programs run single-threaded under node.
  set(gtest_disable_pthreads ${EMSCRIPTEN} CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Recent sources define the namespaced names themselves.
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# qm_add_gtest_program(<target> <name>): registers a GoogleTest program with
# ctest. Natively every test of it becomes a ctest test of its own; under
# Wine or node the program is one test, since listing its tests at build
# time would start the emulator for every build.
include(GoogleTest)
function(qm_add_gtest_program target name)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${target})
  else()
    gtest_discover_tests(${target} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# Helpers that give every library, test, benchmark and fuzz target of the
# tree the same flags, include paths and registration.
include_guard(GLOBAL)

add_library(tessiv_build_flags INTERFACE)
target_compile_options(tessiv_build_flags INTERFACE -Wall -Wextra
  $<$<BOOL:${TESSIV_WERROR}>:-Werror>)
# g++ gives the function-local statics of inline functions (such as the
# huge-page probe behind kolt::cvector) unique binding, and the loader then
# keeps every library holding one loaded for good; loaded by a host's
# dlopen, libkolt and libzt_base would pin libtessiv.so too, so a host's
# dlclose would not unload the module (nor run its ExitInstance then).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(tessiv_build_flags INTERFACE -fno-gnu-unique)
endif()
if(TESSIV_CHECKED)
  target_compile_definitions(tessiv_build_flags INTERFACE TESSIV_CHECKED=1)
endif()

if(TESSIV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TESSIV_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSIV_BUILD_FUZZERS needs clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# tessiv_add_library(<target> EXPORT_NAME <name> [OUTPUT_NAME <file>] SOURCES ...)
# A shared library of the package, exported as Tessiv::<name>.
function(tessiv_add_library target)
  cmake_parse_arguments(ARG "" "EXPORT_NAME;OUTPUT_NAME" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  add_library(Tessiv::${ARG_EXPORT_NAME} ALIAS ${target})
  # Installed, the libraries sit side by side and find one another through
  # $ORIGIN, whatever prefix they were installed to and however the host
  # was linked (a host's RUNPATH does not reach a library's own needs).
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${ARG_EXPORT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN"
    INSTALL_RPATH_USE_LINK_PATH OFF)
  if(ARG_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
  target_link_libraries(${target} PUBLIC tessiv_headers
                                  PRIVATE $<BUILD_INTERFACE:tessiv_build_flags>)
  set_property(GLOBAL APPEND PROPERTY TESSIV_LIBRARIES ${target})
endfunction()

# tessiv_add_test_suite(<name> SOURCES ... [LIBS ...])
# One GoogleTest executable; ctest lists each of its tests by name.
function(tessiv_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock
                                        GTest::gtest_main tessiv_build_flags)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "TESSIV_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# tessiv_add_benchmark(<name> SOURCES ... [LIBS ...])
# A Google Benchmark program whose main prints the ours/baseline ratios.
function(tessiv_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessiv_bench_main tessiv_build_flags)
  set_property(GLOBAL APPEND PROPERTY TESSIV_BENCHMARKS ${name})
endfunction()

# tessiv_add_fuzzer(<name> SOURCES ... [LIBS ...] [SEEDS <dir>])
# A libFuzzer target; ctest runs it briefly over its seed corpus.
function(tessiv_add_fuzzer name)
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessiv_build_flags)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(seeds "")
  if(ARG_SEEDS)
    set(seeds ${ARG_SEEDS})
  endif()
  add_test(NAME fuzz.${name}
           COMMAND ${PROJECT_SOURCE_DIR}/fuzz/run_brief $<TARGET_FILE:${name}>
                   ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus ${seeds})
endfunction()

# Warnings are errors in our own code; third-party code keeps its own flags.
function(hv_our_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Native build: AddressSanitizer and UndefinedBehaviorSanitizer everywhere, and
# coverage instrumentation for the fuzz targets when the compiler is clang.
macro(hv_native_instrumentation)
  set(HV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${HV_SANITIZE})
  add_link_options(${HV_SANITIZE})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(HV_FUZZ ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
  else()
    set(HV_FUZZ OFF)
  endif()
endmacro()

# GoogleTest from the distribution's sources, built with our compiler.
macro(hv_add_googletest)
  set(HV_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${HV_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endmacro()

# One test binary is one CTest test: a Wine process start costs seconds, so
# each binary runs all of its cases in one go.
function(hv_add_test_binary name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  hv_our_code(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# A libFuzzer target over the portable core; CTest runs it briefly over its
# seed inputs so that every test run also shakes the parser.
function(hv_add_fuzzer name source seeds)
  if(NOT HV_FUZZ)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE portable)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  hv_our_code(${name})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  # The corpus a campaign kept (tools/fuzz/campaign.sh) runs with the seeds.
  set(kept ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  if(NOT IS_DIRECTORY ${kept})
    set(kept)
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
      $<TARGET_FILE:${name}> -runs=30000 -max_total_time=30 -rss_limit_mb=1024 -timeout=10 ${corpus} ${seeds} ${kept})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  file(MAKE_DIRECTORY ${corpus})
endfunction()

# SPDX-License-Identifier: Zlib
# The collector's randomised stress test under the address and
# undefined-behaviour sanitizers. It compiles the collector itself, so the
# sanitizers see every block handed out and every header written.
add_executable(tests_runtime_asan ${CMAKE_SOURCE_DIR}/runtime/gc.cpp ${CMAKE_SOURCE_DIR}/runtime/string.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/runtime/gc_stress_asan.cpp)
target_include_directories(tests_runtime_asan PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(tests_runtime_asan PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -g)
target_link_options(tests_runtime_asan PRIVATE -fsanitize=address,undefined)
target_link_libraries(tests_runtime_asan PRIVATE GTest::gtest_main)
add_dependencies(tests_runtime tests_runtime_asan)  # built with the unit tests
gtest_discover_tests(tests_runtime_asan TEST_PREFIX "asan." PROPERTIES LABELS runtime TIMEOUT 600)

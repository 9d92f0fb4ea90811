# SPDX-License-Identifier: Zlib
# The soak test: the whole game compiled a second time under the address and
# undefined-behaviour sanitizers (float-to-int overflow included, every report
# fatal, Array indices checked), driven by random play through the bare host.
# It is built at -O1: the checks stay, and the second copy compiles faster.
# `ctest -L game` runs it for a few seconds; by hand run
#   SOAK_SECONDS=600 build/soak_game    or    SOAK_MINUTES=30 build/soak_game
set(SOAK_SANITIZERS -fsanitize=address,undefined,float-cast-overflow)
add_library(vornhelm_core_san STATIC ${CORE_SOURCES})
# The same sources, include folders and libraries as the core itself.
target_include_directories(vornhelm_core_san PUBLIC
  $<TARGET_PROPERTY:vornhelm_core,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(vornhelm_core_san PUBLIC $<TARGET_PROPERTY:vornhelm_core,INTERFACE_LINK_LIBRARIES>)
target_compile_options(vornhelm_core_san
  PUBLIC ${SOAK_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1
  PRIVATE -Wall -Wextra -Wno-unused-parameter)
target_compile_definitions(vornhelm_core_san PUBLIC VORNHELM_ARRAY_BOUNDS_CHECK)
target_link_options(vornhelm_core_san PUBLIC ${SOAK_SANITIZERS})

file(GLOB SOAK_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/soak/*.cpp)
add_executable(soak_game ${SOAK_SOURCES})
target_link_libraries(soak_game PRIVATE vornhelm_core_san)
set_target_properties(soak_game PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_test(NAME game_soak COMMAND soak_game)
set_tests_properties(game_soak PROPERTIES LABELS game TIMEOUT 120)

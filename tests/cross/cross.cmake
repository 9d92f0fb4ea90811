# SPDX-License-Identifier: Zlib
# The tests of a cross build (make test-cross): the committed regression
# replays, played fast by the cross-built game under the build's emulator,
# end on the lines recorded on x86-64 (the same the browser build checks).
# The game's data is the same on every processor: the build machine's asset
# generator writes it.
set(VORNHELM_DATA_DIR "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH "The data folder written by the native build's asset generator")
file(GLOB CROSS_REPLAYS ${CMAKE_SOURCE_DIR}/tests/replays/*.vhr)
foreach(replay ${CROSS_REPLAYS})
  get_filename_component(name ${replay} NAME_WE)
  get_filename_component(folder ${replay} DIRECTORY)
  add_test(NAME cross_replay_${name}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/cross/replay_matches.sh
      "${CMAKE_CROSSCOMPILING_EMULATOR}" $<TARGET_FILE:vornhelm> ${VORNHELM_DATA_DIR} ${replay} ${folder}/${name}.txt)
  set_tests_properties(cross_replay_${name} PROPERTIES LABELS cross TIMEOUT 600)
endforeach()

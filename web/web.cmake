# SPDX-License-Identifier: Zlib
# The browser build, configured with emcmake (scripts/build-web.sh): the same
# runtime, framework and game compiled to WebAssembly on the browser host
# (host/web/), with GLFW, OpenGL (WebGL through the legacy emulation) and
# OpenAL (Web Audio) from emscripten's own JavaScript libraries.
#
# Outputs: site/, the folder to publish (web/build_site.py): the page
# (index.html), the offline worker (sw.js) and the page's files named by
# their content's hash: page.js and page.css, vornhelm.js and .wasm, the web
# app manifest and icons, and the data in four packages (vornhelm-data-base
# and one per art level, vornhelm-data-1, -2 and -4). In the build folder,
# for the tests and the benchmark only: the unhashed files, the whole data
# in one package (vornhelm-data.js and .data), replay.html and bench.html
# with their programs, and vornhelm-replay-node.js, the replay player for node.
set(VORNHELM_DATA_DIR "" CACHE PATH "The data folder written by the native build's asset generator")
if(NOT IS_DIRECTORY "${VORNHELM_DATA_DIR}")
  message(FATAL_ERROR "VORNHELM_DATA_DIR must name the native build's data folder (make web sets it)")
endif()

# Release unless asked otherwise: debug information would make the .wasm ten
# times larger and keep the optimiser from most of its work.
if(NOT CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
endif()
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")

# The folders' own source lists, as the desktop build reads them: host/
# brings the browser host in place of the desktop one. The replay reader is
# built apart, with exceptions (below).
include(${CMAKE_SOURCE_DIR}/sources.cmake)
set(WEB_CORE_SOURCES ${CORE_SOURCES})
list(REMOVE_ITEM WEB_CORE_SOURCES ${CMAKE_SOURCE_DIR}/host/replay/reader.cpp)

add_library(vornhelm_web_core STATIC ${WEB_CORE_SOURCES})
# The stb headers only: the system's stb library is not built for WebAssembly,
# so host/web/stb_parts.cpp compiles the parts the game uses.
# <stb/...> names the folder in /usr/include, which must not be on the path
# (the system's C headers are not the WebAssembly ones): a link stands in.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/include)
file(CREATE_LINK /usr/include/stb ${CMAKE_BINARY_DIR}/include/stb SYMBOLIC)
target_include_directories(vornhelm_web_core PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/include /usr/include/stb)
target_compile_options(vornhelm_web_core PRIVATE -Wall -Wextra -Wno-unused-parameter)
# stb's own code, compiled here, is not ours to warn about.
set_source_files_properties(${CMAKE_SOURCE_DIR}/host/web/stb_parts.cpp PROPERTIES COMPILE_OPTIONS "-w")

set(WEB_GAME_LINK_OPTIONS
  -sUSE_GLFW=3 -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0 -lopenal
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864)
set(WEB_LINK_OPTIONS ${WEB_GAME_LINK_OPTIONS}
  -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=FS,HEAPU8,UTF8ToString)

# The data package: everything the game reads, without the generator's
# contact sheets and the desktop icons (one of which is the page's icon).
set(WEB_STAGE ${CMAKE_BINARY_DIR}/stage)
set(WEB_DATA_JS ${CMAKE_BINARY_DIR}/vornhelm-data.js)
set(WEB_PACKAGER /usr/share/emscripten/tools/file_packager.py)
file(GLOB_RECURSE WEB_DATA_FILES CONFIGURE_DEPENDS ${VORNHELM_DATA_DIR}/*)
add_custom_command(
  OUTPUT ${WEB_DATA_JS} ${CMAKE_BINARY_DIR}/vornhelm-data.data
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${WEB_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VORNHELM_DATA_DIR} ${WEB_STAGE}/data
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${WEB_STAGE}/data/preview ${WEB_STAGE}/data/icon
  COMMAND ${CMAKE_COMMAND} -E chdir ${WEB_STAGE} python3 ${WEB_PACKAGER} ${CMAKE_BINARY_DIR}/vornhelm-data.data
          --preload data --js-output=${WEB_DATA_JS}
  DEPENDS ${WEB_DATA_FILES}
  COMMENT "Packaging the data folder for the page"
  VERBATIM)
# The same data split by art level for the page, which downloads only the
# level its canvas needs.
set(WEB_SITE_TOOL ${CMAKE_SOURCE_DIR}/web/build_site.py)
set(WEB_TIER_FILES)
foreach(part base 1 2 4)
  list(APPEND WEB_TIER_FILES ${CMAKE_BINARY_DIR}/vornhelm-data-${part}.js ${CMAKE_BINARY_DIR}/vornhelm-data-${part}.data)
endforeach()
add_custom_command(
  OUTPUT ${WEB_TIER_FILES} ${CMAKE_BINARY_DIR}/icon.png ${CMAKE_BINARY_DIR}/icon-192.png ${CMAKE_BINARY_DIR}/icon-512.png
  COMMAND python3 ${WEB_SITE_TOOL} packages ${VORNHELM_DATA_DIR} ${CMAKE_BINARY_DIR} ${WEB_PACKAGER}
  COMMAND ${CMAKE_COMMAND} -E copy ${VORNHELM_DATA_DIR}/icon/vornhelm.png ${CMAKE_BINARY_DIR}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${VORNHELM_DATA_DIR}/icon/vornhelm-192.png ${CMAKE_BINARY_DIR}/icon-192.png
  COMMAND ${CMAKE_COMMAND} -E copy ${VORNHELM_DATA_DIR}/icon/vornhelm-512.png ${CMAKE_BINARY_DIR}/icon-512.png
  DEPENDS ${WEB_DATA_FILES} ${WEB_SITE_TOOL}
  COMMENT "Packaging the data folder by art level for the page"
  VERBATIM)
add_custom_target(vornhelm_web_data ALL DEPENDS ${WEB_DATA_JS} ${WEB_TIER_FILES})

# The page.
# The page's program, with the session recording it hands out
# (window.vornhelm.replay() in page.js).
add_executable(vornhelm ${CMAKE_SOURCE_DIR}/web/page_main.cpp)
target_link_libraries(vornhelm PRIVATE vornhelm_web_core)
target_link_options(vornhelm PRIVATE ${WEB_LINK_OPTIONS}
  -sEXPORTED_FUNCTIONS=_main,_vornhelm_session_take,_vornhelm_session_bytes,_vornhelm_describe_state)
add_dependencies(vornhelm vornhelm_web_data)

# The replay players for the tests and the benchmark. The file reader refuses
# a bad replay by throwing, so it alone is compiled with exception catching;
# the game's code around it has none and so pays nothing for it. The game
# ends the program itself at the end of a recording: the replay's last line
# is printed by a handler at exit, which only runs with EXIT_RUNTIME.
add_library(vornhelm_web_replay_reader STATIC ${CMAKE_SOURCE_DIR}/host/replay/reader.cpp)
target_include_directories(vornhelm_web_replay_reader PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(vornhelm_web_replay_reader PRIVATE -fexceptions)
set(WEB_REPLAY_LINK_OPTIONS -sDISABLE_EXCEPTION_CATCHING=0 -sEXIT_RUNTIME=1)

# In the page (replay.html): the committed replays go into a package of
# their own.
add_executable(vornhelm-replay ${CMAKE_SOURCE_DIR}/web/replay_main.cpp)
target_link_libraries(vornhelm-replay PRIVATE vornhelm_web_replay_reader vornhelm_web_core)
target_link_options(vornhelm-replay PRIVATE ${WEB_LINK_OPTIONS} ${WEB_REPLAY_LINK_OPTIONS})

# Under node (node --no-experimental-fetch vornhelm-replay-node.js FILE), on
# the machine's own files: it reads data/ in the working folder, as the
# desktop game does, and the replay where the command line says.
add_executable(vornhelm-replay-node ${CMAKE_SOURCE_DIR}/web/replay_main.cpp)
target_link_libraries(vornhelm-replay-node PRIVATE vornhelm_web_replay_reader vornhelm_web_core)
target_link_options(vornhelm-replay-node PRIVATE ${WEB_GAME_LINK_OPTIONS} -sENVIRONMENT=node -sNODERAWFS=1
  ${WEB_REPLAY_LINK_OPTIONS})

file(GLOB WEB_REPLAYS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/replays/*.vhr)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/replays-data.js ${CMAKE_BINARY_DIR}/replays-data.data
  COMMAND python3 ${WEB_PACKAGER} ${CMAKE_BINARY_DIR}/replays-data.data
          --preload ${CMAKE_SOURCE_DIR}/tests/replays@/replays --exclude "*.txt"
          --js-output=${CMAKE_BINARY_DIR}/replays-data.js
  DEPENDS ${WEB_REPLAYS}
  COMMENT "Packaging the committed replays"
  VERBATIM)
add_custom_target(vornhelm_web_replays ALL DEPENDS ${CMAKE_BINARY_DIR}/replays-data.js)

# The benchmark's page (bench/web/bench_web.py): the game with its own update
# measures read out and a jump to a later wave.
add_executable(vornhelm-bench ${CMAKE_SOURCE_DIR}/bench/web/bench_main.cpp)
target_link_libraries(vornhelm-bench PRIVATE vornhelm_web_core)
set(WEB_BENCH_EXPORTS _main _vornhelm_bench_update_rate _vornhelm_bench_update_rate_smoothed
  _vornhelm_bench_render_rate_smoothed _vornhelm_bench_play_updates _vornhelm_bench_menu_tick
  _vornhelm_bench_wave _vornhelm_bench_heal)
list(JOIN WEB_BENCH_EXPORTS "," WEB_BENCH_EXPORTS)
target_link_options(vornhelm-bench PRIVATE ${WEB_LINK_OPTIONS} -sEXPORTED_FUNCTIONS=${WEB_BENCH_EXPORTS})

# The page's own files, then the site made of them and the programs; the
# benchmark's page is the game's page running the benchmark's program.
foreach(file page.js page.css replay.html)
  configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
set(WEB_SITE_SOURCES index.html page.js page.css sw.js manifest.webmanifest)
list(TRANSFORM WEB_SITE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/web/)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/site/index.html ${CMAKE_BINARY_DIR}/bench.html
  COMMAND python3 ${WEB_SITE_TOOL} site ${CMAKE_SOURCE_DIR}/web ${CMAKE_BINARY_DIR}
  DEPENDS ${WEB_SITE_SOURCES} ${WEB_SITE_TOOL} ${WEB_TIER_FILES} vornhelm vornhelm-bench
          ${CMAKE_BINARY_DIR}/page.js ${CMAKE_BINARY_DIR}/page.css
  COMMENT "Naming the page's files by their content for the site"
  VERBATIM)
add_custom_target(vornhelm_web_site ALL DEPENDS ${CMAKE_BINARY_DIR}/site/index.html)

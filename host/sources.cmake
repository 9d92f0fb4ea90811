# SPDX-License-Identifier: Zlib
# The host's base: the host object and its dispatchers, the process entry,
# the loop, files and the state file; then the rooms every host shares
# (input, the classic window interface, decoding, replays) and the hosts
# themselves: the browser build has the browser host, the desktop build the
# desktop one; both have the headless one.
core_sources(
  entry.cpp
  files.cpp
  folders.cpp
  game.cpp
  loop.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/decode/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/glfw2/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/input/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/replay/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/headless/sources.cmake)
if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/web/sources.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/desktop/sources.cmake)
endif()

# SPDX-License-Identifier: Zlib
# The game class, its globals and the state digest of replays.
core_sources(
  app.cpp
  globals.cpp
  state_digest.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/play/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/screens/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/shell/sources.cmake)

# The host's base: the host object, files and the state file, the command line, signals.
core_sources(
  files.cpp
  game.cpp
  launch.cpp
  platform.cpp
  stop_signals.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/decode/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/desktop/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/glfw2/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/replay/sources.cmake)

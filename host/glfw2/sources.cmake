# SPDX-License-Identifier: Zlib
# The classic single-window interface on GLFW 3, shared by the desktop host
# and the browser host (on the browser's GLFW): window, events, keys, video
# modes, and the game's input and window from it.
core_sources(
  game_input.cpp
  glfw2.cpp
  keys.cpp
  video.cpp
)

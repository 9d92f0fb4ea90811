# SPDX-License-Identifier: Zlib
# The desktop host: the GLFW window, its joysticks and key state, F12
# screenshots, the command line, stop signals, opening URLs.
core_sources(
  glfw_game.cpp
  launch.cpp
  open_url.cpp
  pads.cpp
  play_host.cpp
  screenshot.cpp
  stop_signals.cpp
  window.cpp
  window_fit.cpp
  window_identity.cpp
  x11_key_state.cpp
)

# SPDX-License-Identifier: Zlib
# The game's shell and services: updates and renders, the draw list, text, loading, sounds, controls, saving, music.
core_sources(
  controls.cpp
  draw_list.cpp
  icade.cpp
  loader.cpp
  music_player.cpp
  onscreen_pad.cpp
  persistence.cpp
  pointer.cpp
  shell.cpp
  sounds.cpp
  text.cpp
  tilt.cpp
)

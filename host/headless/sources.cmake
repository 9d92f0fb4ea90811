# SPDX-License-Identifier: Zlib
# The headless host: no window, no OpenGL context (fast replays).
core_sources(
  headless_game.cpp
)

# SPDX-License-Identifier: Zlib
# Play: a new game, flight, rope, terrain, the object pool and its enemies, particles, stars, status bar, pause, game over.
core_sources(
  flight.cpp
  game_over.cpp
  in_game.cpp
  new_game.cpp
  objects.cpp
  particles.cpp
  pause.cpp
  play.cpp
  pool.cpp
  rope.cpp
  stars.cpp
  status_bar.cpp
  terrain.cpp
)

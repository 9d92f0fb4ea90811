# SPDX-License-Identifier: Zlib
# Recording sessions and playing them back, on any host.
core_sources(
  player.cpp
  reader.cpp
  recorder.cpp
  writer.cpp
)

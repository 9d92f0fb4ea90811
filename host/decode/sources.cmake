# SPDX-License-Identifier: Zlib
# Decoding images and sounds for the devices.
core_sources(
  audio.cpp
  image.cpp
  ogg_headers.cpp
)

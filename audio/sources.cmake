# SPDX-License-Identifier: Zlib
# The OpenAL audio device, channels and samples.
core_sources(
  channel.cpp
  device.cpp
  discarded.cpp
  loading.cpp
  playback.cpp
  sample.cpp
)
